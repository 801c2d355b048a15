// Site56: the file address from one of three page scripts, the site's Base64 forms,
// and the page address rebuilt from a player redirect.
#include "site56.h"

#include <cstdint>

#include "config/hosts.h"
#include "decimal.h"
#include "extractors.h"
#include "text.h"

namespace {

const char kBase64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The value of a character, or -1; codes of 128 and above have none.
int Base64Value(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

// The first character is never decoded.
std::string PlainDecode(const std::string& s)
{
    std::string out;
    if (s.size() < 2)
        return out;
    size_t i = 1;
    // The next character with a value; an "=" ends the search where equalsEnds.
    auto next = [&](bool equalsEnds, int& value) {
        while (i < s.size()) {
            const unsigned char c = static_cast<unsigned char>(s[i++]);
            if (equalsEnds && c == '=')
                return false;
            value = Base64Value(c);
            if (value >= 0)
                return true;
        }
        return false;
    };
    int c1, c2, c3, c4;
    while (next(false, c1) && next(false, c2)) {
        out.push_back(static_cast<char>((c1 * 4 + c2 / 16) & 0xFF));
        if (!next(true, c3))
            break;
        out.push_back(static_cast<char>((c2 * 16 + c3 / 4) & 0xFF));
        if (!next(true, c4))
            break;
        out.push_back(static_cast<char>((c3 * 64 + c4) & 0xFF));
    }
    return out;
}

std::string Value(const std::string& block, const char* start, const char* end)
{
    std::string value;
    return ExtractBetweenString(block, start, end, nullptr, value);
}

struct FileValues {
    std::string host, pURL, sURL, user, URLid;
};

FileValues ReadValues(const std::string& block, const char* const markers[5], const char* end)
{
    return {Value(block, markers[0], end), Value(block, markers[1], end), Value(block, markers[2], end),
            Value(block, markers[3], end), Value(block, markers[4], end)};
}

std::string FilePath(const FileValues& v)
{
    return v.host + "/flvdownload/" + v.pURL + "/" + v.sURL + "/" + v.user + "@" + cfg::Site56FileDomain +
           "_56flv_" + v.URLid + ".flv";
}

const char* const kClickMarkers[5] = {"&host=", "pURL=", "sURL=", "user=", "URLid="};
const char* const kFlvMarkers[5] = {"URL_host' : '", "URL_pURL' : '", "URL_sURL' : '", "user_id' : '",
                                    "URL_URLid' : '"};
const char* const kPlayObjectMarkers[5] = {"&host=", "&pURL=", "&sURL=", "&user=", "&URLid="};

}  // namespace

std::string Base64Decode(int mode, const std::string& text)
{
    if (mode != 0)
        return PlainDecode(text);
    if (text.empty())
        return std::string();
    const int skip = static_cast<signed char>(text[0]);
    const std::string first = PlainDecode(text);
    if (skip < 0 || static_cast<size_t>(skip) > first.size())
        return std::string();
    return PlainDecode(first.substr(static_cast<size_t>(skip)));
}

void ExtractSite56(const char* url, char* page, uint32_t pageSize, char* headers, uint32_t headerSize, char* work,
                   uint32_t workSize, std::string& result)
{
    (void)url, (void)pageSize, (void)headers, (void)headerSize, (void)work, (void)workSize;
    std::string block;
    const char* fileHost = cfg::Site56FileHost1;
    std::string prefix = "/f3.";
    FileValues values;
    if (!ExtractBetweenString(page, "function clickO", "</script>", nullptr, block).empty()) {
        values = ReadValues(block, kClickMarkers, "&");
        result = GetPageTitle(page);
    } else if (!ExtractBetweenString(page, "var _oFlv_o = '", "'", nullptr, block).empty()) {
        values = ReadValues(Base64Decode(0, block), kFlvMarkers, "'");
        result = GetPageTitle(page);
    } else if (!ExtractBetweenString(page, "f_js_playObject('", "')", nullptr, block).empty()) {
        fileHost = cfg::Site56FileHost2;
        prefix = "/f1_" + Value(block, "&key=", "&") + ".";
        values = ReadValues(block, kPlayObjectMarkers, "&");
        result = "<title>" + Value(block, "&tit=", nullptr) + "</title>";
    } else {
        return;
    }
    result += std::string("<flv>http://") + fileHost + prefix + FilePath(values) + "<|></flv>";
}

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
