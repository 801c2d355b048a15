#pragma once
// The link module's text routines: the marker search, the host of a link and its site code.
#include <cstddef>
#include <cstdint>
#include <string>

// Copies the text between the first `start` marker (or the text's beginning when start is
// null) and the next `end` marker after it (or the text's end when end is null) into buf,
// cut to capacity - 1 units and zero-terminated. When an end marker is given and next is
// not null, *next receives the point just after that marker. Returns buf, or null when
// the text or a given marker is missing (or capacity is 0); then neither buf nor *next is
// touched.
char16_t* ExtractBetweenW(const char16_t* text, const char16_t* start, const char16_t* end,
                          const char16_t** next, char16_t* buf, size_t capacity);

// The host of the first "http://" in text: what follows it up to the next "/", empty when
// no "/" follows; "0" when the text holds no "http://".
std::u16string GetUrlHostW(const std::u16string& text);

// The site code of a host: the code of the first key of the site table that the host,
// with A to Z lowered, contains; noMatchCode when none does.
int32_t ClassifySite(const std::u16string& host, int32_t noMatchCode);

// Small UTF-16 helpers the module shares.
size_t U16Length(const char16_t* s);
// First occurrence of pattern in text, or null.
const char16_t* U16Find(const char16_t* text, const char16_t* pattern);
