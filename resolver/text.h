#pragma once
// Text and address helpers: marker search, address splitting and small conversions.
#include <cstddef>
#include <cstdint>
#include <string>

#include "extract_between.h"

// ExtractBetweenA into a 10240-byte buffer of its own; out is empty when nothing was found.
std::string& ExtractBetweenString(const char* text, const char* start, const char* end,
                                  const char** after, std::string& out);
std::string& ExtractBetweenString(const std::string& text, const char* start, const char* end,
                                  const char** after, std::string& out);
// ExtractBetweenA into a zero-filled field of `size` bytes (so at most size - 1
// characters); "" when nothing was found.
std::string ExtractField(const char* text, const char* start, const char* end, size_t size,
                         const char** after = nullptr);

// Host of an "http://" address: the text after its seventh character up to the next "/".
// The output is cleared first; a host that does not fit outSize - 1 bytes gives "".
void GetUrlHostA(const char* url, char* out, size_t outSize);
// Path of an "http://" address: from the first "/" after its seventh character to the end.
// The output is cleared first; a path that does not fit outSize - 1 bytes gives "".
void GetUrlPath(const char* url, char* out, size_t outSize);

// Removes every character of set from text, in place.
void StripChars(char* text, const char* set);
// Up to eight hexadecimal digits; anything else (or more digits) gives 0.
int32_t ParseHex(const char* text);
// Replaces every backslash-u escape by the character's bytes in the ANSI code page.
std::string UnescapeUnicode(const char* text);
// Replaces occurrences of pattern in s, in time linear in s; an empty pattern changes
// nothing. Which ones depends on the pair:
// - a one-character pattern, or a replacement shorter than the pattern: the result of
//   replacing the first occurrence again and again, so that those a replacement forms
//   with its neighbours go too ("amamp;p;" without "amp;" is "");
// - a replacement that holds the pattern: each occurrence of s once, left to right and
//   not overlapping; inserted text is never searched again;
// - a replacement at least as long as a pattern of two or more characters, without
//   it: a caller's error, since replacing again and again may never end ("aab", "ab"
//   by "bbaa"). A debug build stops on it; a release build replaces as in the first
//   case but leaves an occurrence made of inserted text alone ("bbaa", "ba" by "ab"
//   gives "abab", not "aabb").
void ReplaceAll(std::string& s, const std::string& pattern, const std::string& replacement);
std::string IntToString(int32_t value);
// A to Z lowered, every other byte kept; stops at the first zero byte.
std::string ToLowerString(const std::string& s);
// "<title>" + the page's title + "</title>", from document.title or the title element.
std::string GetPageTitle(const char* page);
