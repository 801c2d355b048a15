// Yahoo extractor on a hostile page and a hostile play list.
// fuzz-options: -max_len=16384 -runs=20000
#include <cstddef>
#include <cstdint>
#include <string>

#include "extractor_input.h"
#include "extractors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace fuzzsite;
    Outcome o = Run(WithAddress(ExtractYahoo), "http://www.yahoo.com/watch/1", data, size);
    Require(o.requests == 1);
    Require(o.result.compare(0, 7, "<title>") == 0);
    Require(EndsWith(o.result, "<flv></flv>") || EndsWith(o.result, "<|></flv>"));
    // The removal leaves no "amp;" anywhere, not even one formed by its neighbours.
    Require(o.result.find("amp;") == std::string::npos);
    return 0;
}
