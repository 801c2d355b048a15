#pragma once
// UTF-16 text between the Windows calls (wchar_t), the platform-free code (char16_t) and UTF-8.
//
//   MessageBoxW(nullptr, AsWide(u"文字"), nullptr, MB_OK);   // a view, no copy (Windows only)
//   std::u16string rule = ToU16(commandLine);               // a copy, unit for unit
//   std::string text = Utf8(rule);                          // UTF-8, bad pairs as U+FFFD
#include <cstddef>
#include <string>

#ifdef _WIN32
static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t");

// The same units seen as the other type.
inline const wchar_t* AsWide(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }
inline wchar_t* AsWide(char16_t* s) { return reinterpret_cast<wchar_t*>(s); }
inline const char16_t* AsU16(const wchar_t* s) { return reinterpret_cast<const char16_t*>(s); }
inline char16_t* AsU16(wchar_t* s) { return reinterpret_cast<char16_t*>(s); }

inline std::wstring ToWide(const std::u16string& s) { return std::wstring(AsWide(s.c_str()), s.size()); }
inline std::u16string ToU16(const std::wstring& s) { return std::u16string(AsU16(s.c_str()), s.size()); }
#endif

namespace utf16 {

// The code point at s[i] (advancing i past it); a unit of a broken pair reads as U+FFFD.
inline char32_t NextCodePoint(const char16_t* s, size_t n, size_t& i)
{
    char32_t c = s[i++];
    if (c >= 0xD800 && c <= 0xDBFF && i < n && s[i] >= 0xDC00 && s[i] <= 0xDFFF)
        return 0x10000 + ((c - 0xD800) << 10) + (s[i++] - 0xDC00);
    if (c >= 0xD800 && c <= 0xDFFF)
        return 0xFFFD;
    return c;
}

}  // namespace utf16

inline std::string Utf8(const char16_t* s, size_t n)
{
    std::string out;
    out.reserve(n);
    for (size_t i = 0; i < n;) {
        char32_t c = utf16::NextCodePoint(s, n, i);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

inline std::string Utf8(const std::u16string& s) { return Utf8(s.data(), s.size()); }

// UTF-8 to UTF-16; a byte that starts no well-formed sequence (overlong, a surrogate, past
// U+10FFFF, cut short) reads as U+FFFD and decoding goes on with the next byte.
inline std::u16string U16FromUtf8(const std::string& s)
{
    std::u16string out;
    out.reserve(s.size());
    const size_t n = s.size();
    for (size_t i = 0; i < n;) {
        const unsigned char b = static_cast<unsigned char>(s[i]);
        size_t len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        char32_t c = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
        bool ok = len != 0 && i + len <= n;
        for (size_t k = 1; ok && k < len; ++k) {
            const unsigned char t = static_cast<unsigned char>(s[i + k]);
            ok = (t & 0xC0) == 0x80;
            c = (c << 6) | (t & 0x3F);
        }
        static const char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        ok = ok && c >= kLeast[len] && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
        if (!ok) {
            out += u'\xFFFD';
            ++i;
            continue;
        }
        i += len;
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}
