#pragma once
// A broken promise of the routine under test stops the run as a crash does.

inline void Check(bool ok)
{
    if (!ok)
        __builtin_trap();
}
