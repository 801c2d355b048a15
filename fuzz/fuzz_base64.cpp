// Site56's Base64 decoding in both modes on hostile text, and its encoding read back.
// fuzz-options: -max_len=4096 -runs=50000
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "check.h"
#include "site56.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const int mode = in.ConsumeIntegralInRange(-1, 2);
    const std::string text = in.ConsumeRemainingBytesAsString();

    const std::string plain = Base64Decode(1, text);
    // At most three bytes for every four characters after the first.
    Check(text.size() < 2 ? plain.empty() : plain.size() <= (text.size() - 1) / 4 * 3 + 2);
    const std::string decoded = Base64Decode(mode, text);
    if (mode != 0)
        Check(decoded == plain);
    // A negative count gives the empty decoding.
    else if (!text.empty() && static_cast<signed char>(text[0]) < 0)
        Check(decoded.empty());

    // The site's encoding, one "=" short, reads back whole behind any first character.
    Check(Base64Decode(1, "x" + Base64Encode(text)) == text);
    return 0;
}
