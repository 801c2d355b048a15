// Break extractor on a hostile page (it makes no request).
// fuzz-options: -max_len=16384 -runs=20000
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "extractor_input.h"
#include "extractors.h"

// The refusal line goes to the standard output; keep it out of the fuzzer's log.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    (void)std::freopen("/dev/null", "w", stdout);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace fuzzsite;
    Outcome o = Run(WithAddress(ExtractBreak), "http://www.break.com/index/clip.html", data, size);
    Require(o.requests == 0);
    // The title part alone, or with an empty list, or with one signed address.
    Require(o.result.compare(0, 7, "<title>") == 0);
    Require(EndsWith(o.result, "</title>") || EndsWith(o.result, "<flv></flv>") ||
            EndsWith(o.result, "&ext=.flv<|></flv>"));
    return 0;
}
