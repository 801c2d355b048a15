#pragma once
// Conversions in the system's ANSI code page, with no default-character options.
// Counts include a terminator when the input count does. With dst null and a
// capacity of 0 they give the size needed. They give 0 when the output does not
// fit or the conversion fails.
int AcpFromUtf16(const char16_t* src, int srcUnits, char* dst, int dstBytes);
int Utf16FromAcp(const char* src, int srcBytes, char16_t* dst, int dstUnits);
