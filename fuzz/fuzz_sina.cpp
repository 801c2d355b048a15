// Sina extractor on a hostile page, page address and play list. Records: the page
// address on the first line of the first record and the page after it; then the replies.
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
    const std::string url = fuzzrec::FirstLine(records[0], &pageText);
    fuzzrec::Replies replies(records, 1);
    replies.Serve();

    b.Load(pageText);
    std::string result = "before";
    ExtractSina(url.c_str(), b.page.data(), static_cast<uint32_t>(b.page.size()), b.headers.data(),
                static_cast<uint32_t>(b.headers.size()), b.work.data(), static_cast<uint32_t>(b.work.size()), result);
    // Untouched without a numeric vid, else one block in place of the text.
    const bool untouched = result == "before" && fakehttp::Requests().empty();
    const bool block = result.compare(0, 7, "<title>") == 0 && result.size() >= 6 &&
                       result.compare(result.size() - 6, 6, "</flv>") == 0 && fakehttp::Requests().size() == 1;
    Check(untouched || block);
    return 0;
}
