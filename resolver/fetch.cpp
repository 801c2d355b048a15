#include "fetch.h"

#include <cstring>
#include <vector>

#include "buffers.h"
#include "platform/codepage.h"
#include "platform/msgbox.h"
#include "text.h"

namespace {

const uint32_t kUtf8PageLimit = 2097152;

// Lower-cased value of a header, between its name and the line's end (127 at most).
std::string HeaderValue(const char* headers, const char* name)
{
    char value[128] = {0};
    if (!headers || !ExtractBetweenA(headers, name, "\r\n", nullptr, value, sizeof value))
        return std::string();
    return ToLowerString(value);
}

}  // namespace

int GetContentEncoding(const char* headers)
{
    std::string v = HeaderValue(headers, "Content-Encoding:");
    if (v.find("gzip") != std::string::npos)
        return kInflateGzip;
    if (v.find("deflate") != std::string::npos)
        return kInflateDeflate;
    return 0;
}

bool IsUtf8Response(const char* headers)
{
    return HeaderValue(headers, "Content-Type:").find("utf-8") != std::string::npos;
}

uint32_t Utf8ToUtf16(const unsigned char* bytes, uint32_t count, unsigned char* out, size_t outBytes)
{
    if (!bytes)
        return 0;
    // Room for whole units and the terminator.
    const size_t maxUnits = out ? (outBytes >= 2 ? outBytes / 2 - 1 : 0) : SIZE_MAX;
    size_t units = 0;
    auto put = [&](uint32_t u) {
        if (units >= maxUnits)
            return false;
        if (out) {
            out[2 * units] = static_cast<unsigned char>(u & 0xFF);
            out[2 * units + 1] = static_cast<unsigned char>((u >> 8) & 0xFF);
        }
        ++units;
        return true;
    };
    uint32_t i = 0;
    while (i < count) {
        unsigned char b = bytes[i];
        bool ok = true;
        if (b < 0x80) {
            ok = put(b);
            i += 1;
        } else if (b >= 0xC0 && b <= 0xDF) {
            if (count - i < 2)
                break;
            ok = put(((b & 0x1Fu) << 6) | (bytes[i + 1] & 0x3Fu));
            i += 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            if (count - i < 3)
                break;
            ok = put(((b & 0x0Fu) << 12) | ((bytes[i + 1] & 0x3Fu) << 6) | (bytes[i + 2] & 0x3Fu));
            i += 3;
        } else {
            i += 1;
        }
        if (!ok)
            break;
    }
    if (!out)
        return static_cast<uint32_t>(units * 2);
    if (outBytes < 2)
        return 0;
    out[2 * units] = 0;
    out[2 * units + 1] = 0;
    return static_cast<uint32_t>(units * 2 + 2);
}

namespace {

bool IsHighSurrogate(char16_t u)
{
    return u >= 0xD800 && u <= 0xDBFF;
}

bool IsLowSurrogate(char16_t u)
{
    return u >= 0xDC00 && u <= 0xDFFF;
}

// Units of the character at pos: 2 for a surrogate pair, else 1.
size_t CharacterUnits(const char16_t* src, size_t pos, size_t units)
{
    return pos + 1 < units && IsHighSurrogate(src[pos]) && IsLowSurrogate(src[pos + 1]) ? 2 : 1;
}

}  // namespace

uint32_t AnsiFromUtf16Bounded(const char16_t* src, size_t units, char* dst, uint32_t dstBytes)
{
    if (!dst || dstBytes == 0)
        return 0;
    const uint32_t room = dstBytes - 1;  // the terminator always fits
    uint32_t written = 0;
    size_t pos = 0;
    size_t chunk = 4096;
    while (pos < units) {
        size_t n = units - pos < chunk ? units - pos : chunk;
        // Keep a surrogate pair together.
        if (pos + n < units && IsHighSurrogate(src[pos + n - 1]) && IsLowSurrogate(src[pos + n]))
            n = n > 1 ? n - 1 : 2;
        int need = AcpFromUtf16(src + pos, static_cast<int>(n), nullptr, 0);
        if (need > 0 && written + static_cast<uint32_t>(need) <= room) {
            written += static_cast<uint32_t>(AcpFromUtf16(src + pos, static_cast<int>(n), dst + written,
                                                          static_cast<int>(room - written)));
            pos += n;
        } else if (n > CharacterUnits(src, pos, units)) {
            chunk = n / 2;  // near the cut: smaller pieces
        } else {
            break;  // not even the next character fits
        }
    }
    dst[written] = '\0';
    return written + 1;
}

uint32_t FetchPage(const char* url, char* page, uint32_t pageSize, char* headers, uint32_t headerSize,
                   char* work, uint32_t workSize, RequestCallback callback, uint32_t redirectFlag)
{
    char host[512] = {0};
    if (headerSize == 0)
        headers = nullptr;  // a buffer of no bytes holds no headers, not even a terminator
    if (page && pageSize)
        ClearBuffer(page, pageSize);
    if (headers)
        ClearBuffer(headers, headerSize);
    // Host and path are taken before the work buffer, which may hold the address, is used.
    std::vector<char> path(url ? std::strlen(url) + 1 : 1, '\0');
    GetUrlHostA(url, host, sizeof host);
    GetUrlPath(url, path.data(), path.size());
    if (!page || pageSize == 0)
        return 0;

    uint32_t count = pageSize;
    uint32_t headerLen = headers ? headerSize : 0;
    auto get = redirectFlag == 1 ? HttpGetNoRedirect : HttpGetFollow;
    get(host, 80, path.data(), callback, page, &count, headers, headers ? &headerLen : nullptr, redirectFlag);

    int encoding = GetContentEncoding(headers);
    if ((encoding == kInflateGzip || encoding == kInflateDeflate) && work && workSize) {
        uint32_t produced = workSize;
        InflateBody(reinterpret_cast<const unsigned char*>(page), count, reinterpret_cast<unsigned char*>(work),
                    &produced, encoding);
        std::memset(page, 0, count);  // the page was clear past the bytes received
        count = produced < pageSize ? produced : pageSize;
        std::memcpy(page, work, count);
    }

    // The bytes that arrived; the page keeps one byte for its terminator.
    const uint32_t received = count;
    if (count == pageSize) {
        count = pageSize - 1;
        page[count] = '\0';
    }

    bool utf8 = IsUtf8Response(headers) || std::strstr(page, "encoding=\"UTF-8\"") ||
                std::strstr(page, "charset=utf-8");
    if (!utf8)
        return count;
    if (received >= kUtf8PageLimit) {
        ShowMessageBox(u"出错", u"提示");
        std::memset(page, 0, count);
        count = 1;
    }
    // From here the page holds nothing past its count bytes.
    if (!work || workSize < 2) {
        std::memset(page, 0, count);
        return 0;
    }
    uint32_t wideBytes = Utf8ToUtf16(reinterpret_cast<const unsigned char*>(page), count,
                                     reinterpret_cast<unsigned char*>(work), workSize);
    std::memset(page, 0, count);
    const size_t units = wideBytes / 2 - 1;  // without the terminator
    if (reinterpret_cast<uintptr_t>(work) % alignof(char16_t) == 0)
        return AnsiFromUtf16Bounded(reinterpret_cast<const char16_t*>(work), units, page, pageSize);
    std::vector<char16_t> wide(units + 1);
    std::memcpy(wide.data(), work, units * 2);
    return AnsiFromUtf16Bounded(wide.data(), units, page, pageSize);
}

uint32_t FetchPageWith(const std::string& url, char* page, uint32_t pageSize, char* headers,
                       uint32_t headerSize, char* work, uint32_t workSize, RequestCallback callback,
                       uint32_t redirectFlag)
{
    return FetchPage(url.c_str(), page, pageSize, headers, headerSize, work, workSize, callback, redirectFlag);
}

uint32_t FetchPageDefault(const std::string& url, char* page, uint32_t pageSize, char* headers,
                          uint32_t headerSize, char* work, uint32_t workSize)
{
    return FetchPage(url.c_str(), page, pageSize, headers, headerSize, work, workSize, AddDefaultHeaders, 0);
}
