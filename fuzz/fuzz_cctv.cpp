// Fuzzes the CCTV extractor: a page and the reply to its requests.
#include <cstddef>
#include <cstdint>

#include "extractor_input.h"
#include "extractors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    RunExtractorOnInput(WithBuffers(ExtractCctv), "http://www.cctv.com/video/1.html", data, size);
    return 0;
}
