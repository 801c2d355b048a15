// Bokecc extractor on a hostile page address and status reply (records as
// address_extractor.h reads them).
// fuzz-options: -max_len=16384 -runs=20000
#include <string>

#include "address_extractor.h"
#include "check.h"
#include "extractors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const AddressRun run = RunAddressExtractor(ExtractBokecc, data, size, "kept");
    // Always written: the empty block without a video id, else the title part and one
    // list part per path after one request.
    const std::string& result = run.result;
    const size_t requests = run.requests;
    const bool noId = result == "<title></title><flv></flv>" && requests == 0;
    const bool asked = result.compare(0, 7, "<title>") == 0 && result.size() >= 15 && requests == 1 &&
                       (result.compare(result.size() - 8, 8, "</title>") == 0 ||
                        result.compare(result.size() - 9, 9, "<|></flv>") == 0);
    Check(noId || asked);
    CheckItemBound(result.size(), run.workSize);
    return 0;
}
