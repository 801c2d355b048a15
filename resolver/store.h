#pragma once
// Client of the result store on the operator's service host.
#include <cstddef>
#include <string>

// Asks the store for the page's result text. On a hit (a non-empty "<flv>" block)
// the reply is in out; on a miss with a reply, out holds that reply as scratch; with
// no reply out is untouched. The copy is cut to outSize - 1 bytes and terminated
// (a reply has at most 524287 characters).
bool LookupStoredList(const char* pageUrl, char* out, size_t outSize);
// Uploads a result (the title in the ANSI code page); the reply is not read.
void StoreResolvedList(const char* pageUrl, const std::string& title, const std::string& flv);
// Letters and digits stay, a blank becomes "+", every other byte "%XX".
std::string UrlEncode(const std::string& text);
// Double-byte ANSI text to UTF-8; never reads past len bytes. A lead byte in the
// last place, and a pair the code page cannot give as one UTF-16 unit, are dropped.
std::string AnsiToUtf8(const char* text, size_t len);
