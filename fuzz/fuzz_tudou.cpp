// Tudou extractor on a hostile page, player script and interface reply, and on a
// hostile player address with its override. Records: the override address on the first
// line of the first record (empty: the page is read) and the page after it; then the
// replies.
// fuzz-options: -max_len=16384 -runs=20000
#include <string>

#include "check.h"
#include "extractors.h"
#include "rand_clock.h"
#include "records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static fuzzrec::ExtractorBuffers b;
    FixedCalendarTime clock(1229000000);
    fuzzrec::OverrideInput input(data, size, b);
    const std::string& overrideUrl = input.overrideUrl;

    const std::string built = MakeTudouApiUrl(overrideUrl);
    Check(built.empty() || built.compare(0, 7, "http://") == 0);

    std::string result = "before";
    ExtractTudou("http://www.tudou.com/programs/view/abc/", b.page.data(), static_cast<uint32_t>(b.page.size()),
                 b.headers.data(), static_cast<uint32_t>(b.headers.size()), b.work.data(),
                 static_cast<uint32_t>(b.work.size()), result, overrideUrl, !overrideUrl.empty());
    // The interface, after the player script when the page names one; the text set to
    // one block.
    const size_t requests = fakehttp::Requests().size();
    Check(requests >= 1 && requests <= 2 && result.compare(0, 7, "<title>") == 0 && result.size() >= 26 &&
          result.compare(result.size() - 6, 6, "</flv>") == 0 && result.find("before") != 0);
    CheckItemBound(result.size(), b.work.size());
    return 0;
}
