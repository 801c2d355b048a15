#pragma once
// Page fetcher: one GET into the caller's buffers, inflated and, for a UTF-8 page,
// converted to the ANSI code page.
#include <cstddef>
#include <cstdint>
#include <string>

#include "http.h"

// Gives the number of bytes now in the page buffer (for a converted UTF-8 page, the
// ANSI bytes with the terminator). The page always keeps a terminating zero. The
// address may lie in the work buffer, not in the page or header buffer. A header
// buffer of size 0 counts as none.
uint32_t FetchPage(const char* url, char* page, uint32_t pageSize, char* headers, uint32_t headerSize,
                   char* work, uint32_t workSize, RequestCallback callback, uint32_t redirectFlag);
uint32_t FetchPageWith(const std::string& url, char* page, uint32_t pageSize, char* headers,
                       uint32_t headerSize, char* work, uint32_t workSize, RequestCallback callback,
                       uint32_t redirectFlag);
// With AddDefaultHeaders, redirects followed.
uint32_t FetchPageDefault(const std::string& url, char* page, uint32_t pageSize, char* headers,
                          uint32_t headerSize, char* work, uint32_t workSize);

// 1 for gzip, 2 for deflate, 0 otherwise, from the Content-Encoding header.
int GetContentEncoding(const char* headers);
// True when the Content-Type header names UTF-8.
bool IsUtf8Response(const char* headers);

// Decodes one-, two- and three-byte UTF-8 sequences into little-endian UTF-16 and
// ends it with a zero unit; other bytes give nothing, and a sequence cut off by the
// end of the data is dropped. At most outBytes are written (whole units, the
// terminator always fits when outBytes >= 2). Gives the bytes written, terminator
// included; with no output, the bytes the units need without the terminator.
uint32_t Utf8ToUtf16(const unsigned char* bytes, uint32_t count, unsigned char* out, size_t outBytes);

// Converts UTF-16 units to the ANSI code page into dst, cut at a whole character so
// that the text and its terminator fit dstBytes; gives the bytes written with the
// terminator (0 when dstBytes is 0).
uint32_t AnsiFromUtf16Bounded(const char16_t* src, size_t units, char* dst, uint32_t dstBytes);
