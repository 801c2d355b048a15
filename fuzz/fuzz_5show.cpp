// 5show extractor on a hostile page and a hostile interface reply.
// fuzz-options: -max_len=16384 -runs=20000
#include <cstddef>
#include <cstdint>

#include "extractor_input.h"
#include "extractors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace fuzzsite;
    Outcome o = Run(WithAddress(Extract5show), "http://www.5show.com/show/1.html", data, size);
    // Nothing without a request; with one, nothing or a block.
    Require(o.requests <= 1);
    Require(o.result.empty() || (o.requests == 1 && o.result.compare(0, 7, "<title>") == 0 &&
                                 (EndsWith(o.result, "<flv></flv>") || EndsWith(o.result, ".flv<|></flv>"))));
    return 0;
}
