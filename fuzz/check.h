#pragma once
// A broken promise of the routine under test stops the run as a crash does.

#include <cstddef>

inline void Check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

// An extractor adds no item once its result text is longer than the work buffer, so
// the text ends at most one item past it; no item is longer than the work buffer with
// a key or query of its own.
inline void CheckItemBound(size_t resultSize, size_t workSize)
{
    Check(resultSize <= 2 * workSize + 4096);
}
