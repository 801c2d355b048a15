#pragma once
// MD5 digest of 8-bit texts and the media address signer built on it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// 32 lower-case hex digits of the MD5 of text's bytes.
std::string Md5Hex(const std::string& text);
// address + "?rs=80&ri=5000", then "&h=" and Md5Hex of the salt followed by
// that signed address. The query is appended even when address holds a "?".
std::string SignMediaUrl(const std::string& address);

// text's bytes packed little-endian into zero-filled words: 100 words, or as
// many as the padded message of a longer text needs.
std::vector<uint32_t> TextToWordsLE(const std::string& text);
// The four MD5 state words over the message of bits bits held in words
// (words past the end of the array count as 0).
std::vector<uint32_t> Md5Core(const std::vector<uint32_t>& words, uint64_t bits);
// b + ((a + q + x + t) rotated left by s bits).
uint32_t Md5Step(uint32_t q, uint32_t a, uint32_t b, uint32_t x, uint32_t s, uint32_t t);
// Lower-case hex of the first count words (at most words.size()), each low
// byte first.
std::string WordsToHexLE(const std::vector<uint32_t>& words, size_t count);
