#include "text.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <vector>

#include "platform/codepage.h"

std::string& ExtractBetweenString(const char* text, const char* start, const char* end,
                                  const char** after, std::string& out)
{
    std::vector<char> buf(10240, '\0');
    ExtractBetweenA(text, start, end, after, buf.data(), buf.size());
    out.assign(buf.data());
    return out;
}

std::string& ExtractBetweenString(const std::string& text, const char* start, const char* end,
                                  const char** after, std::string& out)
{
    return ExtractBetweenString(text.c_str(), start, end, after, out);
}

std::string ExtractField(const char* text, const char* start, const char* end, size_t size, const char** after)
{
    if (size == 0)
        return std::string();
    std::vector<char> buf(size, '\0');
    ExtractBetweenA(text, start, end, after, buf.data(), buf.size());
    return buf.data();
}

static void CopyBounded(const char* from, size_t n, char* out, size_t outSize)
{
    if (n > outSize - 1)
        return;  // refused: the output stays empty
    std::memcpy(out, from, n);
    out[n] = '\0';
}

void GetUrlHostA(const char* url, char* out, size_t outSize)
{
    if (!out || outSize == 0)
        return;
    std::memset(out, 0, outSize);
    if (!url || !std::strstr(url, "http://"))
        return;
    const char* from = url + 7;
    const char* slash = std::strchr(from, '/');
    size_t n = slash ? static_cast<size_t>(slash - from) : std::strlen(from);
    CopyBounded(from, n, out, outSize);
}

void GetUrlPath(const char* url, char* out, size_t outSize)
{
    if (!out || outSize == 0)
        return;
    std::memset(out, 0, outSize);
    if (!url || !std::strstr(url, "http://"))
        return;
    const char* slash = std::strchr(url + 7, '/');
    if (!slash)
        return;
    CopyBounded(slash, std::strlen(slash), out, outSize);
}

void StripChars(char* text, const char* set)
{
    if (!text || !set)
        return;
    char* w = text;
    for (const char* r = text; *r; ++r) {
        if (!std::strchr(set, *r))
            *w++ = *r;
    }
    *w = '\0';
}

int32_t ParseHex(const char* text)
{
    if (!text)
        return 0;
    size_t n = std::strlen(text);
    if (n > 8)
        return 0;
    uint32_t v = 0;
    for (size_t i = 0; i < n; ++i) {
        char c = text[i];
        uint32_t d;
        if (c >= '0' && c <= '9')
            d = static_cast<uint32_t>(c - '0');
        else if (c >= 'a' && c <= 'f')
            d = static_cast<uint32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            d = static_cast<uint32_t>(c - 'A' + 10);
        else
            return 0;
        v = (v << 4) | d;
    }
    return static_cast<int32_t>(v);
}

std::string UnescapeUnicode(const char* text)
{
    std::string out;
    if (!text)
        return out;
    size_t len = std::strlen(text);
    size_t i = 0;
    while (i < len) {
        if (text[i] == '\\' && text[i + 1] == 'u') {
            // Four digits, or as many as the text still has.
            size_t avail = len - (i + 2);
            size_t nd = avail < 4 ? avail : 4;
            char digits[5] = {0};
            std::memcpy(digits, text + i + 2, nd);
            char16_t unit = static_cast<char16_t>(ParseHex(digits) & 0xFFFF);
            if (unit != 0) {
                char bytes[8];
                int n = AcpFromUtf16(&unit, 1, bytes, sizeof bytes);
                out.append(bytes, static_cast<size_t>(n > 0 ? n : 0));
            }
            i += 2 + nd;
            if (nd < 4)
                break;
        } else {
            out.push_back(text[i]);
            ++i;
        }
    }
    return out;
}

void ReplaceAll(std::string& s, const std::string& pattern, const std::string& replacement)
{
    const size_t m = pattern.size();
    // Such a pair is refused whatever the text, so that a caller passing it is seen.
    assert((m < 2 || replacement.size() < m || replacement.find(pattern) != std::string::npos) &&
           "replacing again and again may never end");
    if (m == 0 || s.find(pattern) == std::string::npos)
        return;
    // The result is built in out, which never holds an occurrence that counts. A
    // replacement is searched again together with the m - 1 characters before it, as
    // a search from the start would; one that holds the pattern is not (nor is one of
    // a one-character pattern, which can form nothing with its neighbours), and one
    // that is not shorter than the pattern never makes an occurrence of inserted text
    // alone, so that the call always ends.
    const bool holdsPattern = replacement.find(pattern) != std::string::npos;
    const bool rescan = !holdsPattern && m > 1;
    const bool tracked = rescan && replacement.size() >= m;
    std::string out;
    out.reserve(s.size());
    std::vector<unsigned char> own;  // tracked only: out[k] is a character of s
    std::string pending;        // inserted text still to be searched, last character first
    size_t floor = 0;           // no occurrence may begin before out[floor]
    size_t fresh = 0;           // characters of s appended since the last replacement, up to m - 1

    auto replace = [&] {
        out.resize(out.size() - m);
        if (tracked)
            own.resize(out.size());
        if (!rescan) {
            out += replacement;
            if (holdsPattern)
                floor = out.size();
        } else {
            pending.append(replacement.rbegin(), replacement.rend());
        }
        fresh = 0;
    };
    // Appends one character and replaces the occurrence it closes, if any.
    auto push = [&](char c, bool fromText) {
        out.push_back(c);
        if (tracked)
            own.push_back(fromText);
        if (out.size() < m || out.size() - m < floor || out.back() != pattern.back() ||
            out.compare(out.size() - m, m, pattern) != 0)
            return;
        if (tracked && std::find(own.end() - static_cast<std::ptrdiff_t>(m), own.end(), 1) == own.end())
            return;
        replace();
    };

    size_t i = 0;
    while (true) {
        if (!pending.empty()) {
            char c = pending.back();
            pending.pop_back();
            push(c, false);
            continue;
        }
        if (i == s.size())
            break;
        if (fresh < m - 1) {
            // May close an occurrence that began before it.
            ++fresh;
            push(s[i++], true);
            continue;
        }
        // Every occurrence still to come lies in s from here, the last fresh characters
        // included; copy up to the last character of the next one, which closes it.
        size_t next = s.find(pattern, i - fresh);
        size_t upto = next == std::string::npos ? s.size() : next + m - 1;
        out.append(s, i, upto - i);
        if (tracked)
            own.resize(out.size(), 1);
        i = upto;
        if (next != std::string::npos)
            push(s[i++], true);
    }
    s.swap(out);
}

std::string IntToString(int32_t value)
{
    return std::to_string(value);
}

std::string ToLowerString(const std::string& s)
{
    std::string out(s.c_str());
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string GetPageTitle(const char* page)
{
    char title[1024] = {0};
    if (page) {
        if (const char* dt = std::strstr(page, "document.title"))
            ExtractBetweenA(dt, "\"", "\"", nullptr, title, sizeof title);
        if (!title[0])
            ExtractBetweenA(page, "<title>", "</title>", nullptr, title, sizeof title);
    }
    return std::string("<title>") + title + "</title>";
}
