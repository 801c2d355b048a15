#include "site56.h"

#include <cstdint>

#include "config/hosts.h"
#include "decimal.h"

namespace {

const char kBase64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

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
    const int32_t number = ParseDecimalPrefix(flvid.c_str()) % 88 + 11;
    const int32_t year = ParseDecimalPrefix(urlid.substr(0, 4).c_str());
    const bool dated = urlid.find('_') == 4 && year >= 1901 && year <= 3002;
    return std::string("http://") + cfg::Site56PageHost + "/" + (dated ? "l" : "u") + std::to_string(number) +
           "/v_";
}
