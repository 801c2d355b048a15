#pragma once
// The key query that Site6 addresses end with, as the resolver makes it in a given calendar
// second: the resolver's own key routine under a fixed clock.
#include <cstdint>
#include <cstdio>
#include <string>

#include "rand_clock.h"
#include "site6.h"

inline std::wstring Site6KeyQuery(int64_t second)
{
    FixedCalendarTime fixed(second);
    int32_t k1, k2, k3, k4;
    MakeFileKeys(k1, k2, k3, k4);
    char q[96];
    std::snprintf(q, sizeof q, "?start=0&key1=%d&key2=%d&key3=%d&key4=%d", static_cast<int>(k1),
                  static_cast<int>(k2), static_cast<int>(k3), static_cast<int>(k4));
    return std::wstring(q, q + std::char_traits<char>::length(q));
}
