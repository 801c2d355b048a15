// The UTF-8 decoder, the bounded conversion to the ANSI code page and WideToAnsi, with
// outputs of any size.
// fuzz-options: -max_len=4096 -runs=40000
#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <string>
#include <vector>

#include "alive.h"
#include "check.h"
#include "fetch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const size_t outBytes = in.ConsumeIntegralInRange<size_t>(0, 2 * size + 4);
    const uint32_t ansiBytes = in.ConsumeIntegralInRange<uint32_t>(0, 2 * size + 4);
    const bool wideInput = in.ConsumeBool();
    const std::string bytes = in.ConsumeRemainingBytesAsString();

    // The decoder: within the output, and as many units as it counts when they fit.
    std::vector<unsigned char> src(bytes.begin(), bytes.end()), out(outBytes);
    const unsigned char* s = src.empty() ? reinterpret_cast<const unsigned char*>("") : src.data();
    uint32_t n = Utf8ToUtf16(s, static_cast<uint32_t>(src.size()), outBytes ? out.data() : nullptr, outBytes);
    uint32_t counted = Utf8ToUtf16(s, static_cast<uint32_t>(src.size()), nullptr, 0);
    Check(n % 2 == 0 && (outBytes ? n <= outBytes : n == counted));  // no output: it counts
    if (outBytes >= counted + 2)
        Check(n == counted + 2);

    // Units: the decoded ones, or the raw bytes in pairs.
    std::vector<char16_t> units;
    if (wideInput) {
        for (size_t i = 0; i + 1 < src.size(); i += 2)
            units.push_back(static_cast<char16_t>(src[i] | (src[i + 1] << 8)));
    } else if (outBytes) {
        for (uint32_t i = 0; i + 1 < n; i += 2)
            units.push_back(static_cast<char16_t>(out[i] | (out[i + 1] << 8)));
        if (!units.empty())
            units.pop_back();  // the terminator
    }
    std::vector<char> ansi(ansiBytes);
    uint32_t a = AnsiFromUtf16Bounded(units.data(), units.size(), ansiBytes ? ansi.data() : nullptr, ansiBytes);
    Check(a <= ansiBytes && (a == 0 ? ansiBytes == 0 : ansi[a - 1] == '\0'));

    units.push_back(0);
    std::vector<char> narrow(ansiBytes);
    int w = WideToAnsi(units.data(), static_cast<int>(units.size()), ansiBytes ? narrow.data() : nullptr, ansiBytes);
    Check(w >= 0 && static_cast<uint32_t>(w) <= ansiBytes);
    return 0;
}
