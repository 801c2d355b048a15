// YouTube extractor on a hostile page (it makes no request).
// fuzz-options: -max_len=16384 -runs=20000
#include <cstddef>
#include <cstdint>

#include "extractor_input.h"
#include "extractors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace fuzzsite;
    Outcome o = Run(WithBuffers(ExtractYouTube), "", data, size);
    Require(o.requests == 0);
    Require(o.result.compare(0, 7, "<title>") == 0);
    Require(EndsWith(o.result, "<flv></flv>") || EndsWith(o.result, "<|></flv>"));
    return 0;
}
