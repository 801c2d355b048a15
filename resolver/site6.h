#pragma once
// Site6's file keys: four numbers from the clock and the run-time generator.
#include <cstdint>

// Seeds the calling thread's generator from the clock and draws three values: key3
// and key4 run from 1000000000 to 2000000000, and the third draw picks which of the
// clock's thirds each of key1 and key2 mixes with.
void MakeFileKeys(int32_t& key1, int32_t& key2, int32_t& key3, int32_t& key4);
