// The run-time library's generator and the calendar clock with its test seam.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <thread>
#include <vector>

#include "rand_clock.h"

namespace {

std::vector<int> Draw(int n)
{
    std::vector<int> v;
    for (int i = 0; i < n; ++i)
        v.push_back(NextRandom());
    return v;
}

}  // namespace

TEST(RandClock, FifteenBitValuesOfTheLinearCongruence)
{
    struct Case {
        uint32_t seed;
        std::vector<int> values;
    } cases[] = {
        {0, {38, 7719, 21238, 2437, 8855}},
        {1, {41, 18467, 6334, 26500, 19169}},
        {0xFFFFFFFFu, {35, 29739, 3374, 11141, 31308}},
        {0x23456789u, {15473, 27011, 22647, 18764, 7467}},
    };
    for (const Case& c : cases) {
        SeedRandom(c.seed);
        EXPECT_EQ(Draw(5), c.values) << c.seed;
    }
    // Every value lies in 0 to 32767, and both ends occur.
    SeedRandom(7);
    int low = 32767, high = 0;
    for (int i = 0; i < 200000; ++i) {
        int r = NextRandom();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
        low = r < low ? r : low;
        high = r > high ? r : high;
    }
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 32767);
}

#ifdef _WIN32
TEST(RandClock, SameValuesAsTheWindowsRunTime)
{
    for (uint32_t seed : {0u, 1u, 12345u, 0x80000000u, 0xFFFFFFFFu}) {
        SeedRandom(seed);
        std::srand(seed);
        for (int i = 0; i < 1000; ++i)
            ASSERT_EQ(NextRandom(), std::rand()) << seed << " draw " << i;
    }
}
#endif

TEST(RandClock, ReseedingRestartsAndLaterDrawsContinue)
{
    SeedRandom(1);
    NextRandom();
    SeedRandom(1);
    std::vector<int> first = Draw(2);
    std::vector<int> next = Draw(2);
    EXPECT_EQ(first, (std::vector<int>{41, 18467}));
    EXPECT_EQ(next, (std::vector<int>{6334, 26500}));
}

TEST(RandClock, EachThreadHasItsOwnState)
{
    SeedRandom(0);
    NextRandom();
    std::vector<int> other, fresh;
    std::thread t([&] {
        fresh = Draw(1);  // a new thread starts as if seeded with 1
        SeedRandom(0xFFFFFFFFu);
        other = Draw(2);
    });
    t.join();
    EXPECT_EQ(fresh, std::vector<int>{41});
    EXPECT_EQ(other, (std::vector<int>{35, 29739}));
    // This thread goes on where it was.
    EXPECT_EQ(Draw(2), (std::vector<int>{7719, 21238}));
}

TEST(RandClock, FixedClockCarriesTheWhole64BitCount)
{
    {
        FixedCalendarTime fixed(0x123456789LL);
        EXPECT_EQ(CalendarTime(), 0x123456789LL);
        // The seed is the low 32 bits.
        SeedRandomFromClock();
        EXPECT_EQ(Draw(2), (std::vector<int>{15473, 27011}));
        FixCalendarTime(-1);
        EXPECT_EQ(CalendarTime(), -1);
        SeedRandomFromClock();
        EXPECT_EQ(Draw(1), std::vector<int>{35});
    }
    // Released: the real clock again.
    const int64_t before = static_cast<int64_t>(std::time(nullptr));
    const int64_t now = CalendarTime();
    EXPECT_GE(now, before);
    EXPECT_LE(now, before + 5);
}
