#pragma once
// Youku's cipher of the play list's file identifier.
#include <cstdint>
#include <string>

// The 68 characters that the seed shuffles.
extern const char kYoukuSourceAlphabet[];

// The source alphabet shuffled by the seed: 68 passes of seed = (seed * 211 + 30031)
// mod 65536, each taking the character at seed * L / 65536 of the L still left. The
// arithmetic is 64-bit with a non-negative remainder, so every seed gives a shuffle.
std::string MixAlphabet(int64_t seed);
// One character of the mixed alphabet for every decimal index followed by "*"; the
// walk ends at the first empty index or when no "*" follows. An index outside the
// alphabet adds nothing.
std::string DecodeFileId(std::string fileIds, std::string alphabet);
