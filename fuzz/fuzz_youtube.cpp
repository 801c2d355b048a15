// Fuzzes the YouTube extractor: a page and the reply to its requests.
#include <cstddef>
#include <cstdint>

#include "extractor_input.h"
#include "extractors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    RunExtractorOnInput(WithBuffers(ExtractYouTube), "http://www.youtube.com/watch?v=1", data, size);
    return 0;
}
