#pragma once
// Byte texts for the tests: lower-case hexadecimal, and the cipher routines' list form.
#include <string>

inline std::string ToHex(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

// "%d," for every byte, as the cipher routines take a message.
inline std::string ByteList(const std::string& bytes)
{
    std::string out;
    for (unsigned char c : bytes)
        out += std::to_string(c) + ",";
    return out;
}
