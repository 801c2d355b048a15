// The page fetcher with buffers of any size. Records: the address on the first line of
// the first record and, on an optional second line, the page, header and work sizes and
// the redirect flag ("4096 10240 4096 0" when absent); then the replies.
// fuzz-options: -max_len=16384 -runs=20000
#include <cstdio>
#include <cstring>
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
    unsigned pageSize = 4096, headerSize = 10240, workSize = 4096, flag = 0;
    std::sscanf(fuzzrec::FirstLine(rest).c_str(), "%u %u %u %u", &pageSize, &headerSize, &workSize, &flag);
    pageSize %= 1u << 17;
    headerSize %= 1u << 15;
    workSize %= 1u << 17;
    fuzzrec::Replies replies(records, 1);
    replies.Serve();

    // Exactly the sizes asked for, so that the sanitizer sees every access past them. A
    // buffer of size 0 is one byte that must be neither read nor written, or, when the
    // flag has its bit of value 2 set, none at all.
    const bool none = (flag & 2) != 0;
    std::vector<char> page(pageSize ? pageSize : 1, 'P'), headers(headerSize ? headerSize : 1, 'H'),
        work(workSize ? workSize : 1, 'W');
    char* p = pageSize || !none ? page.data() : nullptr;
    char* h = headerSize || !none ? headers.data() : nullptr;
    char* w = workSize || !none ? work.data() : nullptr;
    uint32_t n = FetchPage(url.c_str(), p, pageSize, h, headerSize, w, workSize, AddDefaultHeaders, flag);
    // The count fits the page, and the page keeps its terminator.
    Check(n <= pageSize && (!pageSize || std::memchr(page.data(), 0, pageSize)));
    Check((pageSize || page[0] == 'P') && (headerSize || headers[0] == 'H') && (workSize || work[0] == 'W'));
    return 0;
}
