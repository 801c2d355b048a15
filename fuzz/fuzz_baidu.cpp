// Baidu extractor on a hostile page and a hostile info reply.
// fuzz-options: -max_len=16384 -runs=5000
#include <cstddef>
#include <cstdint>

#include "extractor_input.h"
#include "extractors.h"
#include "rand_clock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace fuzzsite;
    // One server and one info time for every run.
    FixedCalendarTime clock(0);
    Outcome o = Run(WithAddress(ExtractBaidu), "http://video.baidu.com/watch/1.html", data, size);
    // One info request; a block is always written, with one stream or none.
    Require(o.requests == 1);
    Require(o.result.compare(0, 7, "<title>") == 0 && EndsWith(o.result, "</flv>"));
    Require(EndsWith(o.result, "<flv></flv>") || EndsWith(o.result, "<|></flv>"));
    return 0;
}
