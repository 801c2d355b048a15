#pragma once
// The signed decimal prefix of a text, as the run-time atoi reads it: leading white
// space, one optional sign, then the digits up to the first other character; no
// digits (or no text) give 0. A value beyond the result's range stops at its end.
#include <cstdint>

int32_t ParseDecimalPrefix(const char* text);
int64_t ParseDecimalPrefix64(const char* text);
