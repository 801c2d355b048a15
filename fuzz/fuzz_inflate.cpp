// InflateBody against the one-byte walk: the same result, count and bytes, on hostile
// compressed data and on real streams cut short or damaged. The first bytes choose the
// kind, the output capacity and what is done to the stream.
// fuzz-options: -max_len=8192 -runs=20000
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "check.h"
#include "http.h"
#include "unit/compress.h"
#include "unit/inflate_walk.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const int kind = in.ConsumeIntegralInRange(0, 3);  // 0 and 3 are no kind
    const uint32_t capacity = in.ConsumeIntegralInRange<uint32_t>(0, 1 << 17);
    const int shape = in.ConsumeIntegralInRange(0, 2);
    const size_t cut = in.ConsumeIntegral<uint16_t>();
    const size_t flip = in.ConsumeIntegral<uint16_t>();
    std::string body = in.ConsumeRemainingBytesAsString();
    if (shape > 0) {
        // A real stream of the body; 2: cut short and with one byte changed.
        body = Compress(body, kind == kInflateGzip ? 15 + 16 : 15);
        if (shape == 2 && !body.empty()) {
            body[flip % body.size()] ^= static_cast<char>(1 + flip / body.size() % 255);
            body.resize(std::min(body.size(), cut));
        }
    }
    std::vector<unsigned char> input(body.begin(), body.end());
    std::vector<unsigned char> a(capacity), b(capacity);
    uint32_t na = capacity, nb = capacity;
    int ra = InflateBody(input.data(), static_cast<uint32_t>(input.size()), a.data(), &na, kind);
    int rb = InflateByteWalk(input.data(), static_cast<uint32_t>(input.size()), b.data(), &nb, kind);
    Check(ra == rb && na == nb && std::equal(a.begin(), a.begin() + na, b.begin()));
    return 0;
}
