#pragma once
// The run-time library's pseudo-random generator and the calendar clock, alike in both
// builds. Every routine that draws seeds the calling thread's generator from the clock
// first (SeedRandomFromClock), so draws within one second repeat.
#include <cstdint>

// Seconds since 1970-01-01 00:00 UTC, as a 64-bit count.
int64_t CalendarTime();

// srand: sets the calling thread's state.
void SeedRandom(uint32_t seed);
// rand: state = state * 214013 + 2531011 (mod 2^32), then bits 16 to 30 of the new
// state, 0 to 32767. Each thread has its own state, 1 until it is seeded.
int NextRandom();
// srand of the low 32 bits of CalendarTime().
void SeedRandomFromClock();

// Test seam: until ReleaseCalendarTime, CalendarTime gives `seconds`.
void FixCalendarTime(int64_t seconds);
void ReleaseCalendarTime();

// Fixes the clock for one scope.
struct FixedCalendarTime {
    explicit FixedCalendarTime(int64_t seconds) { FixCalendarTime(seconds); }
    ~FixedCalendarTime() { ReleaseCalendarTime(); }
    FixedCalendarTime(const FixedCalendarTime&) = delete;
    FixedCalendarTime& operator=(const FixedCalendarTime&) = delete;
};
