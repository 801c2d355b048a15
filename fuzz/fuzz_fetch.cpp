// The page fetcher with buffers of any size. Records: the address on the first line of
// the first record and, on an optional second line, the page, header and work sizes and
// the redirect flag ("4096 10240 4096 0" when absent); then the replies.
// fuzz-options: -max_len=16384 -runs=20000
#include <string>
#include <vector>

#include "check.h"
#include "fetch.h"
#include "records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> records = fuzzrec::Split(data, size);
    std::string rest;
    std::string url = fuzzrec::FirstLine(records[0], &rest);
    fuzzrec::SizedBuffers b(fuzzrec::FirstLine(rest), 4096, 10240, 4096);
    fuzzrec::Replies replies(records, 1);
    replies.Serve();

    uint32_t n = FetchPage(url.c_str(), b.p, b.pageSize, b.h, b.headerSize, b.w, b.workSize, AddDefaultHeaders, b.flag);
    // The count fits the page.
    Check(n <= b.pageSize && b.Kept());
    return 0;
}
