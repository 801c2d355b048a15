// Fuzzes the 5show extractor: a page and the reply to its requests.
#include <cstddef>
#include <cstdint>

#include "extractor_input.h"
#include "extractors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    RunExtractorOnInput(WithAddress(Extract5show), "http://www.5show.com/show/1.html", data, size);
    return 0;
}
