#include "store.h"

#include <cstring>
#include <memory>
#include <new>

#include "config/hosts.h"
#include "fetch.h"
#include "platform/codepage.h"
#include "text.h"

namespace {

const uint32_t kStoreBlockSize = 524288;

// The reply block and the fetch's work block of one store request.
struct StoreBlocks {
    std::unique_ptr<char[]> reply{new (std::nothrow) char[kStoreBlockSize]};
    std::unique_ptr<char[]> work{new (std::nothrow) char[kStoreBlockSize]};
    bool ok() const { return reply && work; }
};

std::string StoreAddress(const char* path)
{
    return std::string("http://") + cfg::ServiceHost + path;
}

void AppendUtf8(std::string& out, uint32_t unit)
{
    if (unit < 0x80) {
        out.push_back(static_cast<char>(unit));
    } else if (unit < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (unit >> 6)));
        out.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (unit >> 12)));
        out.push_back(static_cast<char>(0x80 | ((unit >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
    }
}

}  // namespace

std::string UrlEncode(const std::string& text)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() * 3);
    for (char ch : text) {
        unsigned char c = static_cast<unsigned char>(ch);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            out.push_back(static_cast<char>(c));
        } else if (c == ' ') {
            out.push_back('+');
        } else {
            out.push_back('%');
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 0x0F]);
        }
    }
    return out;
}

std::string AnsiToUtf8(const char* text, size_t len)
{
    std::string out;
    if (!text)
        return out;
    out.reserve(len * 3 + 1);
    size_t i = 0;
    while (i < len) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        // A lead byte without its second byte is dropped.
        if (len - i < 2)
            break;
        // A pair the code page cannot give as one unit is dropped.
        char16_t unit = 0;
        if (Utf16FromAcp(text + i, 2, &unit, 1) == 1 && unit != 0)
            AppendUtf8(out, unit);
        i += 2;
    }
    return out;
}

bool LookupStoredList(const char* pageUrl, char* out, size_t outSize)
{
    StoreBlocks blocks;
    if (!blocks.ok())
        return false;
    std::string address = StoreAddress("/flvStorage/find.php?url=") + UrlEncode(pageUrl ? pageUrl : "");
    uint32_t count = FetchPageDefault(address, blocks.reply.get(), kStoreBlockSize, nullptr, 0,
                                      blocks.work.get(), kStoreBlockSize);
    if (count == 0)
        return false;
    const char* reply = blocks.reply.get();
    // The fetch keeps a terminating zero; the search stays inside the block all the same.
    blocks.reply[kStoreBlockSize - 1] = '\0';

    char flv[4096] = {0};
    ExtractBetweenA(reply, "<flv>", "</flv>", nullptr, flv, sizeof flv);
    const bool hit = flv[0] != '\0';

    if (out && outSize) {
        size_t n = std::strlen(reply);  // at most kStoreBlockSize - 1
        if (n > outSize - 1)
            n = outSize - 1;
        std::memcpy(out, reply, n);
        out[n] = '\0';
    }
    return hit;
}

void StoreResolvedList(const char* pageUrl, const std::string& title, const std::string& flv)
{
    std::string utf8Title = AnsiToUtf8(title.data(), title.size());
    std::string address = StoreAddress("/flvStorage/cache.php?") + "url=" + UrlEncode(pageUrl ? pageUrl : "") +
                          "&flv=" + UrlEncode(flv) + "&title=" + UrlEncode(utf8Title);
    StoreBlocks blocks;
    if (!blocks.ok())
        return;
    FetchPageDefault(address, blocks.reply.get(), kStoreBlockSize, nullptr, 0, blocks.work.get(), kStoreBlockSize);
}
