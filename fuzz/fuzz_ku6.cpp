// Ku6 extractor on a hostile page and a hostile interface reply. Records: the override
// address on the first line of the first record (empty: the page is read) and the page
// after it; then the replies.
// fuzz-options: -max_len=16384 -runs=20000
#include <string>
#include <vector>

#include "check.h"
#include "extractors.h"
#include "records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static fuzzrec::ExtractorBuffers b;
    std::vector<std::string> records = fuzzrec::Split(data, size);
    std::string pageText;
    const std::string overrideUrl = fuzzrec::FirstLine(records[0], &pageText);
    fuzzrec::Replies replies(records, 1);
    replies.Serve();

    b.Load(pageText);
    std::string result = "before,";
    ExtractKu6("http://v.ku6.com/show/x.html", b.page.data(), static_cast<uint32_t>(b.page.size()), b.headers.data(),
               static_cast<uint32_t>(b.headers.size()), b.work.data(), static_cast<uint32_t>(b.work.size()), result,
               overrideUrl, !overrideUrl.empty());
    // One block is always appended, and no comma is left anywhere in the text.
    Check(result.compare(0, 9, "before<|>") == 0 && result.size() >= 15 &&
          result.compare(result.size() - 6, 6, "</flv>") == 0 && result.find(',') == std::string::npos);
    CheckItemBound(result.size(), b.work.size());
    return 0;
}
