#include "rand_clock.h"

#include <atomic>
#include <ctime>

namespace {

thread_local uint32_t t_state = 1;

std::atomic<bool> g_fixed{false};
std::atomic<int64_t> g_fixedSeconds{0};

}  // namespace

int64_t CalendarTime()
{
    if (g_fixed.load())
        return g_fixedSeconds.load();
    return static_cast<int64_t>(std::time(nullptr));
}

void SeedRandom(uint32_t seed)
{
    t_state = seed;
}

int NextRandom()
{
    t_state = t_state * 214013u + 2531011u;
    return static_cast<int>((t_state >> 16) & 0x7FFF);
}

void SeedRandomFromClock()
{
    SeedRandom(static_cast<uint32_t>(static_cast<uint64_t>(CalendarTime())));
}

void FixCalendarTime(int64_t seconds)
{
    g_fixedSeconds.store(seconds);
    g_fixed.store(true);
}

void ReleaseCalendarTime()
{
    g_fixed.store(false);
}
