// Fuzzes the Break extractor: a page (it makes no request).
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "extractor_input.h"
#include "extractors.h"

// The refusal line goes to the standard output; keep it out of the fuzzer's log.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    (void)std::freopen("/dev/null", "w", stdout);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    RunExtractorOnInput(WithAddress(ExtractBreak), "http://www.break.com/index/clip.html", data, size);
    return 0;
}
