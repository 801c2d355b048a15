// Mofile extractor on a hostile page and a hostile play interface reply.
// fuzz-options: -max_len=16384 -runs=10000
#include <cstddef>
#include <cstdint>

#include "extractor_input.h"
#include "extractors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace fuzzsite;
    Outcome o = Run(WithAddress(ExtractMofile), "http://www.mofile.com/show/AB12.html", data, size);
    Require(o.requests == 1);
    Require(o.result.compare(0, 7, "<title>") == 0);
    Require(EndsWith(o.result, "</title>") || EndsWith(o.result, "<flv></flv>") || EndsWith(o.result, "<|></flv>"));
    return 0;
}
