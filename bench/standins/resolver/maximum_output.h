#pragma once
// What the stand-in resolver writes in its maximum mode: every output buffer filled to its
// last unit, so that a caller with a smaller buffer overruns it. Platform-free, so that host
// tests can write and expect the same text.
//
// Lines: MaximumLine(0), MaximumLine(1), ... each ended by "\r\n", as many as fit, then
// "x" up to the last unit (an unterminated last line), then a zero unit. Titles and lists:
// a repeating ASCII pattern, then a zero unit.
#include <cstddef>
#include <string>

constexpr size_t kMaximumLineLength = 511;  // the longest address a record holds

// "http://standin.test/max/<i>/" padded with "x" to kMaximumLineLength characters.
inline std::string MaximumLine(size_t i)
{
    std::string s = "http://standin.test/max/" + std::to_string(i) + "/";
    s.resize(kMaximumLineLength, 'x');
    return s;
}

// How many whole lines FillMaximumLines writes into units.
constexpr size_t MaximumLineCount(size_t units)
{
    return units == 0 ? 0 : (units - 1) / (kMaximumLineLength + 2);
}

template <class Char>
void FillMaximumLines(Char* out, size_t units)
{
    if (units == 0)
        return;
    size_t pos = 0;
    for (size_t i = 0; i < MaximumLineCount(units); ++i) {
        for (char c : MaximumLine(i) + "\r\n")
            out[pos++] = static_cast<Char>(c);
    }
    while (pos < units - 1)
        out[pos++] = static_cast<Char>('x');
    out[pos] = 0;
}

// "Title-0123456789" repeated over units - 1, then zero.
template <class Char>
void FillMaximumText(Char* out, size_t units)
{
    static const char pattern[] = "Title-0123456789";
    if (units == 0)
        return;
    for (size_t i = 0; i + 1 < units; ++i)
        out[i] = static_cast<Char>(pattern[i % (sizeof pattern - 1)]);
    out[units - 1] = 0;
}
