// Sina extractor on a hostile page, page address and play list. Records: the page
// address on the first line of the first record and the page after it; then the replies.
// fuzz-options: -max_len=16384 -runs=20000
#include <string>

#include "address_extractor.h"
#include "check.h"
#include "extractors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const AddressRun run = RunAddressExtractor(ExtractSina, data, size, "before");
    const std::string& result = run.result;
    // Untouched without a numeric vid, else one block in place of the text.
    const bool untouched = result == "before" && run.requests == 0;
    const bool block = result.compare(0, 7, "<title>") == 0 && result.size() >= 6 &&
                       result.compare(result.size() - 6, 6, "</flv>") == 0 && run.requests == 1;
    Check(untouched || block);
    CheckItemBound(run.result.size(), run.workSize);
    return 0;
}
