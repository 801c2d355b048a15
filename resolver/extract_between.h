#pragma once
#include <cstddef>

// Copies the text between the first `start` marker (or the text's beginning when
// start is null) and the next `end` marker after it (or the text's end when end is
// null) into buf, cut to size - 1 bytes and zero-terminated. When after is given it
// receives the point just after the end marker. Returns buf, or null when the text
// or a given marker is missing; then neither buf nor *after is touched.
char* ExtractBetweenA(const char* text, const char* start, const char* end,
                      const char** after, char* buf, size_t size);

// The first occurrence of a non-empty marker in text, or null; reads the text only up
// to the end of that occurrence, so that a walk through a long text stays linear.
const char* FindMarker(const char* text, const char* marker);
