// Metacafe extractor on a hostile page (it makes no request).
// fuzz-options: -max_len=16384 -runs=20000
#include <cstddef>
#include <cstdint>
#include <string>

#include "extractor_input.h"
#include "extractors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace fuzzsite;
    Outcome o = Run(WithAddress(ExtractMetacafe), "http://www.metacafe.com/watch/1/", data, size);
    Require(o.requests == 0);
    Require(o.result.compare(0, 7, "<title>") == 0);
    // With a stream, no escaped slash is left anywhere, not even one formed by its neighbours.
    if (EndsWith(o.result, "<|></flv>"))
        Require(o.result.find("\\/") == std::string::npos);
    else
        Require(EndsWith(o.result, "</title>"));
    return 0;
}
