#include "link_text.h"

#include <cstring>

#include "config/hosts.h"

size_t U16Length(const char16_t* s)
{
    size_t n = 0;
    while (s[n])
        ++n;
    return n;
}

const char16_t* U16Find(const char16_t* text, const char16_t* pattern)
{
    if (!*pattern)
        return text;
    for (; *text; ++text) {
        size_t i = 0;
        while (pattern[i] && text[i] == pattern[i])
            ++i;
        if (!pattern[i])
            return text;
    }
    return nullptr;
}

char16_t* ExtractBetweenW(const char16_t* text, const char16_t* start, const char16_t* end,
                          const char16_t** next, char16_t* buf, size_t capacity)
{
    if (!text || !buf || capacity == 0)
        return nullptr;
    const char16_t* from = text;
    if (start) {
        const char16_t* s = U16Find(text, start);
        if (!s)
            return nullptr;
        from = s + U16Length(start);
    }
    const char16_t* to;
    const char16_t* after = nullptr;
    if (end) {
        to = U16Find(from, end);
        if (!to)
            return nullptr;
        after = to + U16Length(end);
    } else {
        to = from + U16Length(from);
    }
    size_t n = static_cast<size_t>(to - from);
    if (n > capacity - 1)
        n = capacity - 1;
    std::memcpy(buf, from, n * sizeof(char16_t));
    buf[n] = 0;
    if (next && after)
        *next = after;
    return buf;
}

std::u16string GetUrlHostW(const std::u16string& text)
{
    static const std::u16string scheme = u"http://";
    size_t at = text.find(scheme);
    if (at == std::u16string::npos)
        return u"0";
    size_t from = at + scheme.size();
    size_t slash = text.find(u'/', from);
    if (slash == std::u16string::npos)
        return std::u16string();
    return text.substr(from, slash - from);
}

namespace {

struct SiteKey {
    const char* key;
    int32_t code;
};

// Tested in this order: the Site6 key is part of Ku6's second domain, and Tudou's HD host
// holds Tudou's own key, so each comes before the key it contains.
const SiteKey kSiteTable[] = {
    {cfg::Site6Key, 0},    {cfg::Ku6Key, 1},       {cfg::TudouHdKey, 14}, {cfg::TudouKey, 2},
    {cfg::YoukuKey, 3},    {cfg::Site56Key, 4},    {cfg::YouTubeKey, 5},  {cfg::CctvKey, 6},
    {cfg::SinaKey, 7},     {cfg::MofileKey, 8},    {cfg::MetacafeKey, 9}, {cfg::BreakKey, 10},
    {cfg::YepigKey1, 11},  {cfg::YepigKey2, 11},   {cfg::BokeccKey, 12},  {cfg::PomohoKey, 13},
    {cfg::BaiduKey, 14},
};

bool ContainsAscii(const std::u16string& text, const char* key)
{
    size_t n = std::strlen(key);
    if (n > text.size())
        return false;
    for (size_t i = 0; i + n <= text.size(); ++i) {
        size_t j = 0;
        while (j < n && text[i + j] == static_cast<unsigned char>(key[j]))
            ++j;
        if (j == n)
            return true;
    }
    return false;
}

}  // namespace

int32_t ClassifySite(const std::u16string& host, int32_t noMatchCode)
{
    std::u16string lower = host;
    for (char16_t& c : lower)
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
    for (const SiteKey& k : kSiteTable)
        if (ContainsAscii(lower, k.key))
            return k.code;
    return noMatchCode;
}
