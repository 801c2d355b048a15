// Site56 extractor on a hostile page in any of its three script forms. The whole input
// is the page; the extractor asks nothing.
// fuzz-options: -max_len=16384 -runs=20000
#include <string>

#include "check.h"
#include "config/hosts.h"
#include "extractors.h"
#include "records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static fuzzrec::ExtractorBuffers b;
    fuzzrec::Replies none({}, 0);
    none.Serve();
    b.Load(std::string(reinterpret_cast<const char*>(data), size));
    std::string result = "kept";
    ExtractSite56("http://www.56.com/u11/v_x.html", b.page.data(), static_cast<uint32_t>(b.page.size()),
                  b.headers.data(), static_cast<uint32_t>(b.headers.size()), b.work.data(),
                  static_cast<uint32_t>(b.work.size()), result);
    // Untouched, or one block in place of the text with one address on a file host.
    const bool untouched = result == "kept";
    const bool block = result.compare(0, 7, "<title>") == 0 && result.size() >= 15 + 18 &&
                       result.compare(result.size() - 13, 13, ".flv<|></flv>") == 0 &&
                       result.find("<flv>http://") != std::string::npos;
    Check((untouched || block) && fakehttp::Requests().empty());
    return 0;
}
