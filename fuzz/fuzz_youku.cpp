// Youku extractor on a hostile page and play list, and the play-list address built from
// a hostile player address. Records: the override address on the first line of the
// first record (empty: the page is read) and the page after it; then the replies.
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

    // The player address's own builder: a play-list address on the play-list host.
    const std::string built = MakeYoukuPlayListUrl(overrideUrl);
    Check(built.compare(0, 7, "http://") == 0 && built.find("&n=3") == built.size() - 4);

    std::string result = "before";
    ExtractYouku(b.page.data(), static_cast<uint32_t>(b.page.size()), b.headers.data(),
                 static_cast<uint32_t>(b.headers.size()), b.work.data(), static_cast<uint32_t>(b.work.size()), result,
                 overrideUrl, !overrideUrl.empty());
    // One play-list request; the text is set to a title part, alone or with one list part.
    const bool titleOnly = result.size() >= 15 && result.compare(result.size() - 8, 8, "</title>") == 0;
    const bool withList = result.size() >= 26 && result.compare(result.size() - 6, 6, "</flv>") == 0;
    Check(fakehttp::Requests().size() == 1 && result.compare(0, 7, "<title>") == 0 && (titleOnly || withList));
    CheckItemBound(result.size(), b.work.size());
    return 0;
}
