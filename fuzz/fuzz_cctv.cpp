// CCTV extractor on a hostile page and a hostile interface reply.
// fuzz-options: -max_len=16384 -runs=20000
#include <cstddef>
#include <cstdint>

#include "extractor_input.h"
#include "extractors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace fuzzsite;
    Outcome o = Run(WithBuffers(ExtractCctv), "", data, size);
    // Without a video id nothing at all; with one, one request and a block.
    Require(o.result.empty() ? o.requests == 0 : o.requests == 1);
    Require(o.result.empty() || (o.result.compare(0, 7, "<title>") == 0 &&
                                 (EndsWith(o.result, "<flv></flv>") || EndsWith(o.result, "<|></flv>"))));
    return 0;
}
