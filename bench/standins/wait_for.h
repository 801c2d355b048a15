#pragma once
// Waiting for a condition with a time limit: the one polling loop of the tests and the bench.
#include <windows.h>

#include <cstdio>

// Checks done() at once and then every stepMs until it holds; true then. Once limitMs have
// passed with done() still false, writes one line to stderr naming what (a noun: "the
// player's window") and returns false, so a test's assertion or a bench program can report it.
template <typename Condition>
bool WaitFor(const char* what, DWORD limitMs, DWORD stepMs, Condition done)
{
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        if (done())
            return true;
        if (GetTickCount64() - start >= limitMs) {
            std::fprintf(stderr, "waited %lu ms for %s, in vain\n", static_cast<unsigned long>(limitMs), what);
            std::fflush(stderr);
            return false;
        }
        Sleep(stepMs);
    }
}
