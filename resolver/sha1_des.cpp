#include "sha1_des.h"

#include <cstddef>
#include <cstdio>
#include <utility>

const std::string Base64Pad = "";

namespace {

const char kHexDigits[] = "0123456789abcdef";

uint32_t Rotl(uint32_t v, unsigned s)
{
    s &= 31;
    return (v << s) | (v >> ((32 - s) & 31));
}

// Two's-complement view of a word, for printing with "%d".
int32_t AsSigned(uint32_t v)
{
    return static_cast<int32_t>(v);
}

std::vector<uint32_t> ParseWords(const std::string& list)
{
    std::vector<int32_t> items = ParseIntList(list);
    return std::vector<uint32_t>(items.begin(), items.end());
}

int32_t ParseItem(const std::string& text, size_t pos, size_t end)
{
    bool negative = false;
    if (pos < end && (text[pos] == '-' || text[pos] == '+')) {
        negative = text[pos] == '-';
        ++pos;
    }
    uint32_t value = 0;
    for (; pos < end && text[pos] >= '0' && text[pos] <= '9'; ++pos)
        value = value * 10u + static_cast<uint32_t>(text[pos] - '0');
    return AsSigned(negative ? 0u - value : value);
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

uint32_t ByteAt(const std::string& text, size_t i)
{
    return i < text.size() ? static_cast<uint32_t>(static_cast<unsigned char>(text[i])) : 0u;
}

// ---- SHA-1 ----

void Sha1Block(uint32_t h[5], const uint32_t block[16])
{
    uint32_t w[80];
    for (int t = 0; t < 16; ++t)
        w[t] = block[t];
    for (int t = 16; t < 80; ++t)
        w[t] = Rotl(w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16], 1);

    uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4];
    for (int t = 0; t < 80; ++t) {
        uint32_t f, k;
        if (t < 20) {
            f = (b & c) | (~b & d);
            k = 0x5A827999u;
        } else if (t < 40) {
            f = b ^ c ^ d;
            k = 0x6ED9EBA1u;
        } else if (t < 60) {
            f = (b & c) | (b & d) | (c & d);
            k = 0x8F1BBCDCu;
        } else {
            f = b ^ c ^ d;
            k = 0xCA62C1D6u;
        }
        uint32_t temp = Rotl(a, 5) + f + e + w[t] + k;
        e = d;
        d = c;
        c = Rotl(b, 30);
        b = a;
        a = temp;
    }
    h[0] += a;
    h[1] += b;
    h[2] += c;
    h[3] += d;
    h[4] += e;
}

// ---- DES ----
// Standard tables, bit 1 being the most significant bit.

constexpr uint8_t kPc1[56] = {
    57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18,
    10, 2,  59, 51, 43, 35, 27, 19, 11, 3,  60, 52, 44, 36,
    63, 55, 47, 39, 31, 23, 15, 7,  62, 54, 46, 38, 30, 22,
    14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};

constexpr uint8_t kPc2[48] = {
    14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10,
    23, 19, 12, 4,  26, 8,  16, 7,  27, 20, 13, 2,
    41, 52, 31, 37, 47, 55, 30, 40, 51, 45, 33, 48,
    44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};

constexpr uint8_t kShifts[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};

// Row r, column c at [16 * r + c].
constexpr uint8_t kSBox[8][64] = {
    {14, 4,  13, 1,  2,  15, 11, 8,  3,  10, 6,  12, 5,  9,  0,  7,
     0,  15, 7,  4,  14, 2,  13, 1,  10, 6,  12, 11, 9,  5,  3,  8,
     4,  1,  14, 8,  13, 6,  2,  11, 15, 12, 9,  7,  3,  10, 5,  0,
     15, 12, 8,  2,  4,  9,  1,  7,  5,  11, 3,  14, 10, 0,  6,  13},
    {15, 1,  8,  14, 6,  11, 3,  4,  9,  7,  2,  13, 12, 0,  5,  10,
     3,  13, 4,  7,  15, 2,  8,  14, 12, 0,  1,  10, 6,  9,  11, 5,
     0,  14, 7,  11, 10, 4,  13, 1,  5,  8,  12, 6,  9,  3,  2,  15,
     13, 8,  10, 1,  3,  15, 4,  2,  11, 6,  7,  12, 0,  5,  14, 9},
    {10, 0,  9,  14, 6,  3,  15, 5,  1,  13, 12, 7,  11, 4,  2,  8,
     13, 7,  0,  9,  3,  4,  6,  10, 2,  8,  5,  14, 12, 11, 15, 1,
     13, 6,  4,  9,  8,  15, 3,  0,  11, 1,  2,  12, 5,  10, 14, 7,
     1,  10, 13, 0,  6,  9,  8,  7,  4,  15, 14, 3,  11, 5,  2,  12},
    {7,  13, 14, 3,  0,  6,  9,  10, 1,  2,  8,  5,  11, 12, 4,  15,
     13, 8,  11, 5,  6,  15, 0,  3,  4,  7,  2,  12, 1,  10, 14, 9,
     10, 6,  9,  0,  12, 11, 7,  13, 15, 1,  3,  14, 5,  2,  8,  4,
     3,  15, 0,  6,  10, 1,  13, 8,  9,  4,  5,  11, 12, 7,  2,  14},
    {2,  12, 4,  1,  7,  10, 11, 6,  8,  5,  3,  15, 13, 0,  14, 9,
     14, 11, 2,  12, 4,  7,  13, 1,  5,  0,  15, 10, 3,  9,  8,  6,
     4,  2,  1,  11, 10, 13, 7,  8,  15, 9,  12, 5,  6,  3,  0,  14,
     11, 8,  12, 7,  1,  14, 2,  13, 6,  15, 0,  9,  10, 4,  5,  3},
    {12, 1,  10, 15, 9,  2,  6,  8,  0,  13, 3,  4,  14, 7,  5,  11,
     10, 15, 4,  2,  7,  12, 9,  5,  6,  1,  13, 14, 0,  11, 3,  8,
     9,  14, 15, 5,  2,  8,  12, 3,  7,  0,  4,  10, 1,  13, 11, 6,
     4,  3,  2,  12, 9,  5,  15, 10, 11, 14, 1,  7,  6,  0,  8,  13},
    {4,  11, 2,  14, 15, 0,  8,  13, 3,  12, 9,  7,  5,  10, 6,  1,
     13, 0,  11, 7,  4,  9,  1,  10, 14, 3,  5,  12, 2,  15, 8,  6,
     1,  4,  11, 13, 12, 3,  7,  14, 10, 15, 6,  8,  0,  5,  9,  2,
     6,  11, 13, 8,  1,  4,  10, 7,  9,  5,  0,  15, 14, 2,  3,  12},
    {13, 2,  8,  4,  6,  15, 11, 1,  10, 9,  3,  14, 5,  0,  12, 7,
     1,  15, 13, 8,  10, 3,  7,  4,  12, 5,  6,  11, 0,  14, 9,  2,
     7,  11, 4,  1,  9,  12, 14, 2,  0,  6,  10, 13, 15, 3,  5,  8,
     2,  1,  14, 7,  4,  10, 8,  13, 15, 12, 9,  0,  3,  5,  6,  11}};

constexpr uint8_t kP[32] = {
    16, 7,  20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
    2,  8,  24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};

// S-box k merged with P: entry v is P of S-box k's output for the six-bit
// group v, in S-box k's place of the 32-bit S output.
struct SpTables {
    uint32_t t[8][64];
};

constexpr SpTables MakeSpTables()
{
    SpTables sp{};
    for (int k = 0; k < 8; ++k) {
        for (int v = 0; v < 64; ++v) {
            int row = ((v >> 4) & 2) | (v & 1);
            int col = (v >> 1) & 15;
            uint32_t s = static_cast<uint32_t>(kSBox[k][16 * row + col]) << (28 - 4 * k);
            uint32_t p = 0;
            for (int i = 0; i < 32; ++i) {
                if ((s >> (32 - kP[i])) & 1u)
                    p |= 1u << (31 - i);
            }
            sp.t[k][v] = p;
        }
    }
    return sp;
}

constexpr SpTables kSp = MakeSpTables();

// PC-2 by key nibble. c[j][v] is what nibble j (from the top) of the 28-bit
// half C contributes when it is v, d[j][v] the same for D. A C entry holds the
// top halves of the round's two subkey words (first word above, second below),
// a D entry their bottom halves.
struct KeyTables {
    uint32_t c[7][16];
    uint32_t d[7][16];
};

// Place of PC-2 output bit o (0-based) in the subkey pair: group o / 6 feeds
// S-box o / 6 + 1 and sits in the low six bits of a byte; S-boxes 2, 4, 6, 8
// fill the first word, 1, 3, 5, 7 the second, most significant byte first.
constexpr int SubkeyShift(int o, bool& firstWord)
{
    int box = o / 6 + 1;
    firstWord = box % 2 == 0;
    int byteIndex = firstWord ? box / 2 - 1 : box / 2;
    return 24 - 8 * byteIndex + (5 - o % 6);
}

constexpr KeyTables MakeKeyTables()
{
    KeyTables kt{};
    for (int half = 0; half < 2; ++half) {
        for (int j = 0; j < 7; ++j) {
            for (int v = 0; v < 16; ++v) {
                uint32_t word = 0;
                for (int b = 0; b < 4; ++b) {
                    if (!((v >> (3 - b)) & 1))
                        continue;
                    int keyBit = 28 * half + 4 * j + 1 + b;  // PC-1 output bit, 1-based
                    for (int o = 0; o < 48; ++o) {
                        if (kPc2[o] != keyBit)
                            continue;
                        bool firstWord = false;
                        int shift = SubkeyShift(o, firstWord);
                        // C feeds the top halves, D the bottom halves.
                        int packed = half == 0 ? (firstWord ? shift : shift - 16)
                                               : (firstWord ? shift + 16 : shift);
                        word |= 1u << packed;
                    }
                }
                if (half == 0)
                    kt.c[j][v] = word;
                else
                    kt.d[j][v] = word;
            }
        }
    }
    return kt;
}

constexpr KeyTables kKeys = MakeKeyTables();

// The 32 subkey words of the DES key in bytes 8 * index to 8 * index + 7.
void DesKeySchedule(const std::string& key, size_t index, uint32_t out[32])
{
    uint32_t hi = 0, lo = 0;
    for (size_t i = 0; i < 4; ++i) {
        hi |= ByteAt(key, 8 * index + i) << (24 - 8 * i);
        lo |= ByteAt(key, 8 * index + 4 + i) << (24 - 8 * i);
    }
    uint32_t c = 0, d = 0;
    for (int i = 0; i < 28; ++i) {
        int p = kPc1[i];
        uint32_t bit = p <= 32 ? (hi >> (32 - p)) & 1u : (lo >> (64 - p)) & 1u;
        c |= bit << (27 - i);
        p = kPc1[28 + i];
        bit = p <= 32 ? (hi >> (32 - p)) & 1u : (lo >> (64 - p)) & 1u;
        d |= bit << (27 - i);
    }
    for (int round = 0; round < 16; ++round) {
        unsigned s = kShifts[round];
        c = ((c << s) | (c >> (28 - s))) & 0x0FFFFFFFu;
        d = ((d << s) | (d >> (28 - s))) & 0x0FFFFFFFu;
        uint32_t top = 0, bottom = 0;
        for (int j = 0; j < 7; ++j) {
            top |= kKeys.c[j][(c >> (24 - 4 * j)) & 15u];
            bottom |= kKeys.d[j][(d >> (24 - 4 * j)) & 15u];
        }
        out[2 * round] = (top & 0xFFFF0000u) | (bottom >> 16);
        out[2 * round + 1] = (top << 16) | (bottom & 0x0000FFFFu);
    }
}

// Initial permutation as a series of bit-group swaps; FinalPermutation undoes it.
void InitialPermutation(uint32_t& l, uint32_t& r)
{
    uint32_t t;
    t = ((l >> 4) ^ r) & 0x0F0F0F0Fu; r ^= t; l ^= t << 4;
    t = ((l >> 16) ^ r) & 0x0000FFFFu; r ^= t; l ^= t << 16;
    t = ((r >> 2) ^ l) & 0x33333333u; l ^= t; r ^= t << 2;
    t = ((r >> 8) ^ l) & 0x00FF00FFu; l ^= t; r ^= t << 8;
    t = ((l >> 1) ^ r) & 0x55555555u; r ^= t; l ^= t << 1;
}

void FinalPermutation(uint32_t& l, uint32_t& r)
{
    uint32_t t;
    t = ((l >> 1) ^ r) & 0x55555555u; r ^= t; l ^= t << 1;
    t = ((r >> 8) ^ l) & 0x00FF00FFu; l ^= t; r ^= t << 8;
    t = ((r >> 2) ^ l) & 0x33333333u; l ^= t; r ^= t << 2;
    t = ((l >> 16) ^ r) & 0x0000FFFFu; r ^= t; l ^= t << 16;
    t = ((l >> 4) ^ r) & 0x0F0F0F0Fu; r ^= t; l ^= t << 4;
}

// The 16 rounds with one key's subkeys, in order or reversed; the halves come
// out unswapped after the last round (the pre-output R16 L16).
void DesRounds(uint32_t& l, uint32_t& r, const uint32_t* sub, bool forward)
{
    for (int i = 0; i < 16; ++i) {
        int round = forward ? i : 15 - i;
        // Expansion: the groups for S-boxes 2, 4, 6, 8 lie in the bytes of r
        // rotated left by 1, those for 1, 3, 5, 7 in r rotated right by 3.
        uint32_t even = Rotl(r, 1) ^ sub[2 * round];
        uint32_t odd = Rotl(r, 29) ^ sub[2 * round + 1];
        l ^= kSp.t[1][(even >> 24) & 63u] | kSp.t[3][(even >> 16) & 63u] |
             kSp.t[5][(even >> 8) & 63u] | kSp.t[7][even & 63u] |
             kSp.t[0][(odd >> 24) & 63u] | kSp.t[2][(odd >> 16) & 63u] |
             kSp.t[4][(odd >> 8) & 63u] | kSp.t[6][odd & 63u];
        std::swap(l, r);
    }
    std::swap(l, r);
}

uint32_t WordOf(const uint32_t* bytes)
{
    return ((bytes[0] & 0xFFu) << 24) | ((bytes[1] & 0xFFu) << 16) |
           ((bytes[2] & 0xFFu) << 8) | (bytes[3] & 0xFFu);
}

}  // namespace

std::string IntToListItem(int32_t value)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d,", static_cast<int>(value));
    return buf;
}

std::vector<int32_t> ParseIntList(const std::string& list)
{
    size_t commas = 0;
    for (char ch : list)
        commas += ch == ',';
    std::vector<int32_t> items;
    items.reserve(commas + 1);
    size_t start = 0;
    for (;;) {
        size_t comma = list.find(',', start);
        if (comma == std::string::npos) {
            if (start < list.size() || items.empty())
                items.push_back(ParseItem(list, start, list.size()));
            break;
        }
        items.push_back(ParseItem(list, start, comma));
        start = comma + 1;
    }
    return items;
}

std::string TextToWordsBE(const std::string& text)
{
    std::vector<uint32_t> words(text.size() / 4 + 1, 0u);
    for (size_t i = 0; i < text.size(); ++i)
        words[i / 4] |= ByteAt(text, i) << (24 - 8 * (i % 4));
    std::string out;
    out.reserve(words.size() * 12);
    for (uint32_t w : words)
        out += IntToListItem(AsSigned(w));
    return out;
}

std::string Sha1Core(const std::string& words, uint64_t bits)
{
    const std::vector<uint32_t> x = ParseWords(words);
    // Padded message: the words, the 1 bit after the message, zeros, and the
    // 64-bit length in the last two words of the last block.
    const uint64_t blocks = (bits + 64) / 512 + 1;
    const uint64_t padIndex = bits / 32;
    const uint32_t padBit = 0x80000000u >> (bits % 32);
    uint32_t h[5] = {0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u, 0xC3D2E1F0u};
    for (uint64_t b = 0; b < blocks; ++b) {
        uint32_t block[16];
        for (unsigned t = 0; t < 16; ++t) {
            uint64_t i = 16 * b + t;
            block[t] = i < x.size() ? x[static_cast<size_t>(i)] : 0u;
            if (i == padIndex)
                block[t] |= padBit;
        }
        if (b + 1 == blocks) {
            block[14] = static_cast<uint32_t>(bits >> 32);
            block[15] = static_cast<uint32_t>(bits);
        }
        Sha1Block(h, block);
    }
    std::string out;
    for (uint32_t w : h)
        out += IntToListItem(AsSigned(w));
    out.pop_back();  // no comma after the last word
    return out;
}

std::string WordsToHexBE(const std::string& words)
{
    const std::vector<uint32_t> w = ParseWords(words);
    std::string out;
    out.reserve(w.size() * 8);
    for (uint32_t v : w) {
        for (int shift = 28; shift >= 0; shift -= 4)
            out += kHexDigits[(v >> shift) & 15u];
    }
    return out;
}

std::string WordsToBase64BE(const std::string& words)
{
    static const char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const std::vector<uint32_t> w = ParseWords(words);
    const size_t n = w.size() * 4;
    auto byte = [&w](size_t i) { return (w[i / 4] >> (24 - 8 * (i % 4))) & 0xFFu; };
    std::string out;
    for (size_t i = 0; i < n; i += 3) {
        uint32_t triplet = byte(i) << 16;
        if (i + 1 < n)
            triplet |= byte(i + 1) << 8;
        if (i + 2 < n)
            triplet |= byte(i + 2);
        out += kAlphabet[(triplet >> 18) & 63u];
        out += kAlphabet[(triplet >> 12) & 63u];
        if (i + 1 < n)
            out += kAlphabet[(triplet >> 6) & 63u];
        else
            out += Base64Pad;
        if (i + 2 < n)
            out += kAlphabet[triplet & 63u];
        else
            out += Base64Pad;
    }
    return out;
}

std::string Sha1Hex(const std::string& text)
{
    return WordsToHexBE(Sha1Core(TextToWordsBE(text), static_cast<uint64_t>(text.size()) * 8));
}

std::string Sha1Base64(const std::string& text)
{
    return WordsToBase64BE(Sha1Core(TextToWordsBE(text), static_cast<uint64_t>(text.size()) * 8));
}

std::string Sha1Digest(const std::string& text, int32_t form)
{
    return form == 0 ? Sha1Hex(text) : Sha1Base64(text);
}

std::string DesCreateKeys(const std::string& key, int32_t& count)
{
    const size_t keys = key.size() > 8 ? 3 : 1;
    std::string out;
    out.reserve(keys * 32 * 11);
    for (size_t k = 0; k < keys; ++k) {
        uint32_t sub[32];
        DesKeySchedule(key, k, sub);
        for (uint32_t w : sub)
            out += IntToListItem(AsSigned(w));
    }
    count = static_cast<int32_t>(32 * keys);
    return out;
}

std::string HexToByteList(const std::string& hex)
{
    size_t i = hex.size() >= 2 && hex[0] == '0' && hex[1] == 'x' ? 2 : 0;
    std::string out;
    out.reserve((hex.size() / 2 + 1) * 4);
    for (; i < hex.size(); i += 2) {
        const size_t end = i + 2 < hex.size() ? i + 2 : hex.size();
        int32_t value = 0;
        for (size_t j = i; j < end; ++j) {
            int digit = HexValue(hex[j]);
            if (digit < 0)
                break;
            value = value * 16 + digit;
        }
        out += IntToListItem(value);
    }
    return out;
}

std::string CharsToText(int32_t c0, int32_t c1, int32_t c2, int32_t c3,
                        int32_t c4, int32_t c5, int32_t c6, int32_t c7)
{
    const int32_t values[8] = {c0, c1, c2, c3, c4, c5, c6, c7};
    std::string out(8, '\0');
    for (size_t i = 0; i < 8; ++i)
        out[i] = static_cast<char>(static_cast<uint32_t>(values[i]) & 0xFFu);
    return out;
}

std::string DesCrypt(const std::string& key, const std::string& message, int32_t encrypt,
                     int32_t mode, const std::string& iv, const std::string& padding)
{
    (void)padding;
    int32_t count = 0;
    const std::vector<uint32_t> keys = ParseWords(DesCreateKeys(key, count));
    const bool triple = count != 32;

    // Passes as (key index, subkeys in order): triple DES enciphers with
    // key 1, deciphers with key 2, enciphers with key 3; deciphering reverses.
    struct Pass {
        size_t key;
        bool forward;
    };
    Pass passes[3];
    size_t passCount;
    const bool enc = encrypt != 0;
    if (!triple) {
        passes[0] = {0, enc};
        passCount = 1;
    } else if (enc) {
        passes[0] = {0, true};
        passes[1] = {1, false};
        passes[2] = {2, true};
        passCount = 3;
    } else {
        passes[0] = {2, false};
        passes[1] = {1, true};
        passes[2] = {0, false};
        passCount = 3;
    }

    // Message bytes, the last block filled up with zero bytes.
    const std::vector<uint32_t> items = ParseWords(message);
    std::vector<uint32_t> bytes(items);
    bytes.resize((items.size() + 7) / 8 * 8, 0u);

    const bool cbc = mode == 1;
    uint32_t ivBytes[8];
    for (size_t i = 0; i < 8; ++i)
        ivBytes[i] = ByteAt(iv, i);
    uint32_t chainL = WordOf(ivBytes), chainR = WordOf(ivBytes + 4);

    std::string result, part;
    result.reserve(bytes.size());
    part.reserve(512);
    for (size_t m = 0; m < bytes.size(); m += 8) {
        uint32_t l = WordOf(&bytes[m]);
        uint32_t r = WordOf(&bytes[m + 4]);
        const uint32_t inL = l, inR = r;
        if (cbc && enc) {
            l ^= chainL;
            r ^= chainR;
        }
        InitialPermutation(l, r);
        for (size_t p = 0; p < passCount; ++p)
            DesRounds(l, r, &keys[32 * passes[p].key], passes[p].forward);
        FinalPermutation(l, r);
        if (cbc) {
            if (enc) {
                chainL = l;
                chainR = r;
            } else {
                l ^= chainL;
                r ^= chainR;
                chainL = inL;
                chainR = inR;
            }
        }
        part += CharsToText(AsSigned(l >> 24), AsSigned(l >> 16), AsSigned(l >> 8), AsSigned(l),
                            AsSigned(r >> 24), AsSigned(r >> 16), AsSigned(r >> 8), AsSigned(r));
        if (part.size() == 512) {
            result += part;
            part.clear();
        }
    }
    result += part;
    return result;
}

std::string DesDecryptHex(const std::string& key, const std::string& hex)
{
    return DesCrypt(key, HexToByteList(hex), 0, 0, std::string(), std::string());
}
