// Pomoho extractor on a hostile player address and interface reply (records as
// address_extractor.h reads them).
// fuzz-options: -max_len=16384 -runs=20000
#include <string>

#include "address_extractor.h"
#include "check.h"
#include "extractors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const AddressRun run = RunAddressExtractor(ExtractPomoho, data, size, "kept");
    // Untouched, or the one file address after the one request.
    const std::string& result = run.result;
    const size_t requests = run.requests;
    const bool untouched = result == "kept" && requests <= 1;
    const bool file = result.compare(0, 7, "<title>") == 0 && result.size() >= 15 + 18 &&
                      result.compare(result.size() - 13, 13, ".flv<|></flv>") == 0 && requests == 1;
    Check(untouched || file);
    return 0;
}
