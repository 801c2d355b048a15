// Fuzzes the Baidu extractor: a page and the reply to its requests.
#include <cstddef>
#include <cstdint>

#include "extractor_input.h"
#include "extractors.h"
#include "rand_clock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // One server and one info time for every run.
    FixedCalendarTime clock(0);
    RunExtractorOnInput(WithAddress(ExtractBaidu), "http://video.baidu.com/watch/1.html", data, size);
    return 0;
}
