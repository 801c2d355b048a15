// Fuzzes the Yahoo extractor: a page and the reply to its requests.
#include <cstddef>
#include <cstdint>

#include "extractor_input.h"
#include "extractors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    RunExtractorOnInput(WithAddress(ExtractYahoo), "http://www.yahoo.com/watch/1", data, size);
    return 0;
}
