// Yepig extractor on a hostile page, page address and Sina or Bokecc reply (records as
// address_extractor.h reads them).
// fuzz-options: -max_len=16384 -runs=20000
#include <string>

#include "address_extractor.h"
#include "check.h"
#include "extractors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const AddressRun run = RunAddressExtractor(ExtractYepig, data, size, "kept");
    // Untouched (another site's player), the empty block without a video id, or what
    // one interface request gave.
    const std::string& result = run.result;
    const size_t requests = run.requests;
    const bool untouched = result == "kept" && requests == 0;
    const bool noId = result == "<title></title><flv></flv>" && requests == 0;
    const bool asked = result.compare(0, 7, "<title>") == 0 && requests == 1;
    Check(untouched || noId || asked);
    CheckItemBound(run.result.size(), run.workSize);
    return 0;
}
