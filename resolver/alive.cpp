#include "alive.h"

#include <cstring>

#include "http.h"
#include "platform/codepage.h"
#include "text.h"
#include "vennix.h"

namespace {

const size_t kHostSize = 512;
const size_t kPathSize = 1024;
const uint32_t kHeaderSize = 1024;

}  // namespace

bool IsUrlAlive(const char* url)
{
    char host[kHostSize];
    char path[kPathSize];
    GetUrlHostA(url, host, sizeof host);
    GetUrlPath(url, path, sizeof path);
    if (!host[0])
        return false;
    // A path too long for its buffer comes back empty: refuse rather than ask for "/".
    const char* slash = std::strchr(url + 7, '/');
    if (slash && !path[0])
        return false;
    char headers[kHeaderSize] = {0};
    uint32_t headerLen = kHeaderSize;
    uint32_t bodyLen = 0;
    HttpGetFollow(host, 80, path, AddDefaultHeaders, nullptr, &bodyLen, headers, &headerLen, 0);
    char status[1024] = {0};
    if (!ExtractBetweenA(headers, "HTTP", "\r\n", nullptr, status, sizeof status))
        return false;
    return std::strstr(status, "200") != nullptr;
}

int WideToAnsi(const char16_t* text, int units, char* buf, size_t size)
{
    if (!text || !buf || size == 0)
        return 0;
    std::memset(buf, 0, size);
    int n = AcpFromUtf16(text, units, buf, static_cast<int>(size));
    if (n <= 0) {
        std::memset(buf, 0, size);
        return 0;
    }
    return n;
}

extern "C" unsigned char FLV_CALL FLV_IsValidA(const char* url)
{
    return url && IsUrlAlive(url) ? 1 : 0;
}

extern "C" unsigned char FLV_CALL FLV_IsValidW(const flv_wchar* url)
{
    if (!url)
        return 0;
    const char16_t* text = reinterpret_cast<const char16_t*>(url);
    char ansi[1024];
    if (WideToAnsi(text, static_cast<int>(std::char_traits<char16_t>::length(text) + 1), ansi, sizeof ansi) == 0)
        return 0;
    return FLV_IsValidA(ansi);
}
