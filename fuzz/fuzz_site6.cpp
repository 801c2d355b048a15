// Site6 extractor on a hostile page, player address, interface reply and file list, and
// the file keys at any clock. Records: a player address on the first line of the first
// record (empty: the page is read), a clock count on the second, the page after them;
// then the replies.
// fuzz-options: -max_len=16384 -runs=20000
#include <limits>
#include <string>
#include <vector>

#include "check.h"
#include "config/hosts.h"
#include "decimal.h"
#include "extractors.h"
#include "rand_clock.h"
#include "records.h"
#include "site6.h"

namespace {

bool KeyInRange(int32_t key)
{
    return key >= 1000000000 && key <= 2000000000;
}

bool Mixed(int32_t key)
{
    return key >= 0 || key == std::numeric_limits<int32_t>::min();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static fuzzrec::ExtractorBuffers b;
    std::vector<std::string> records = fuzzrec::Split(data, size);
    std::string rest, pageText;
    const std::string player = fuzzrec::FirstLine(records[0], &rest);
    const std::string clock = fuzzrec::FirstLine(rest, &pageText);
    FixedCalendarTime fixed(ParseDecimalPrefix64(clock.c_str()));

    int32_t k1, k2, k3, k4;
    MakeFileKeys(k1, k2, k3, k4);
    Check(KeyInRange(k3) && KeyInRange(k4) && Mixed(k1) && Mixed(k2));

    const std::string api = player.empty() ? std::string() : MakeSite6ApiUrl(player);
    const std::string prefix = std::string("http://") + cfg::Site6InterfaceHost + "/v72.php?";
    Check(player.empty() || api.compare(0, prefix.size(), prefix) == 0);

    fuzzrec::Replies replies(records, 1);
    replies.Serve();
    b.Load(pageText);
    std::string result = "before";
    ExtractSite6(b.page.data(), static_cast<uint32_t>(b.page.size()), b.headers.data(),
                 static_cast<uint32_t>(b.headers.size()), b.work.data(), static_cast<uint32_t>(b.work.size()), result,
                 api, !api.empty());
    // Untouched without an interface, else one block appended after one or two requests.
    const size_t requests = fakehttp::Requests().size();
    const bool untouched = result == "before" && requests == 0;
    const bool block = result.compare(0, 13, "before<title>") == 0 && result.size() >= 6 + 26 &&
                       result.compare(result.size() - 6, 6, "</flv>") == 0 && requests >= 1 && requests <= 2;
    Check(untouched || block);
    CheckItemBound(result.size(), b.work.size());
    return 0;
}
