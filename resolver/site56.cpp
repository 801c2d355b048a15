#include "site56.h"

#include <climits>
#include <cstdint>

#include "config/hosts.h"

namespace {

const char kBase64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The signed decimal prefix of a text, as atoi reads it (leading blanks skipped);
// values beyond the 32-bit range stop at its ends.
int32_t DecimalPrefix(const std::string& s)
{
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    int64_t v = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        v = v * 10 + (s[i] - '0');
        if (v > int64_t(INT32_MAX) + 1)
            v = int64_t(INT32_MAX) + 1;
    }
    if (negative)
        return static_cast<int32_t>(-v);
    return static_cast<int32_t>(v > INT32_MAX ? INT32_MAX : v);
}

}  // namespace

std::string Base64Encode(const std::string& text)
{
    std::string out;
    out.reserve((text.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= text.size(); i += 3) {
        uint32_t g = (uint32_t(uint8_t(text[i])) << 16) | (uint32_t(uint8_t(text[i + 1])) << 8) |
                     uint32_t(uint8_t(text[i + 2]));
        out.push_back(kBase64Alphabet[(g >> 18) & 0x3F]);
        out.push_back(kBase64Alphabet[(g >> 12) & 0x3F]);
        out.push_back(kBase64Alphabet[(g >> 6) & 0x3F]);
        out.push_back(kBase64Alphabet[g & 0x3F]);
    }
    const size_t tail = text.size() - i;
    if (tail == 1) {
        // Two characters and one "=".
        uint32_t g = uint32_t(uint8_t(text[i])) << 16;
        out.push_back(kBase64Alphabet[(g >> 18) & 0x3F]);
        out.push_back(kBase64Alphabet[(g >> 12) & 0x3F]);
        out.push_back('=');
    } else if (tail == 2) {
        // Three characters, no "=".
        uint32_t g = (uint32_t(uint8_t(text[i])) << 16) | (uint32_t(uint8_t(text[i + 1])) << 8);
        out.push_back(kBase64Alphabet[(g >> 18) & 0x3F]);
        out.push_back(kBase64Alphabet[(g >> 12) & 0x3F]);
        out.push_back(kBase64Alphabet[(g >> 6) & 0x3F]);
    }
    return out;
}

std::string MakeSite56PageUrl(const std::string& flvid, const std::string& urlid)
{
    // The remainder keeps the sign of the dividend: a negative flvid gives -76 to 11.
    const int32_t number = DecimalPrefix(flvid) % 88 + 11;
    const int32_t year = DecimalPrefix(urlid.substr(0, 4));
    const bool dated = urlid.find('_') == 4 && year >= 1901 && year <= 3002;
    return std::string("http://") + cfg::Site56PageHost + "/" + (dated ? "l" : "u") + std::to_string(number) +
           "/v_";
}
