#pragma once
#include <cstddef>

// True when a GET of the address, redirects followed, ends in a status line holding
// "200". Addresses whose host or path does not fit the request buffers are refused.
bool IsUrlAlive(const char* url);

// Zero-fills buf and converts the UTF-16 text (units with its terminator) with the
// ANSI code page; gives the bytes written, or 0 (buf zero) when it does not fit.
// An absent text gives 0 and leaves buf untouched.
int WideToAnsi(const char16_t* text, int units, char* buf, size_t size);
