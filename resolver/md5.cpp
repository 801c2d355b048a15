#include "md5.h"

#include "text.h"

namespace {

const char kHexDigits[] = "0123456789abcdef";

const uint32_t kInit[4] = {0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u};

// Step constants: the integer part of 2^32 * |sin(i + 1)|.
const uint32_t kT[64] = {
    0xD76AA478u, 0xE8C7B756u, 0x242070DBu, 0xC1BDCEEEu,
    0xF57C0FAFu, 0x4787C62Au, 0xA8304613u, 0xFD469501u,
    0x698098D8u, 0x8B44F7AFu, 0xFFFF5BB1u, 0x895CD7BEu,
    0x6B901122u, 0xFD987193u, 0xA679438Eu, 0x49B40821u,
    0xF61E2562u, 0xC040B340u, 0x265E5A51u, 0xE9B6C7AAu,
    0xD62F105Du, 0x02441453u, 0xD8A1E681u, 0xE7D3FBC8u,
    0x21E1CDE6u, 0xC33707D6u, 0xF4D50D87u, 0x455A14EDu,
    0xA9E3E905u, 0xFCEFA3F8u, 0x676F02D9u, 0x8D2A4C8Au,
    0xFFFA3942u, 0x8771F681u, 0x6D9D6122u, 0xFDE5380Cu,
    0xA4BEEA44u, 0x4BDECFA9u, 0xF6BB4B60u, 0xBEBFBC70u,
    0x289B7EC6u, 0xEAA127FAu, 0xD4EF3085u, 0x04881D05u,
    0xD9D4D039u, 0xE6DB99E5u, 0x1FA27CF8u, 0xC4AC5665u,
    0xF4292244u, 0x432AFF97u, 0xAB9423A7u, 0xFC93A039u,
    0x655B59C3u, 0x8F0CCC92u, 0xFFEFF47Du, 0x85845DD1u,
    0x6FA87E4Fu, 0xFE2CE6E0u, 0xA3014314u, 0x4E0811A1u,
    0xF7537E82u, 0xBD3AF235u, 0x2AD7D2BBu, 0xEB86D391u};

// Rotations of each group of 16 steps, four per group in turn.
const uint32_t kS[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

const size_t kMinWords = 100;

void Md5Block(uint32_t state[4], const uint32_t x[16])
{
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (uint32_t i = 0; i < 64; ++i) {
        uint32_t q, k;
        switch (i / 16) {
        case 0:
            q = (b & c) | (~b & d);
            k = i;
            break;
        case 1:
            q = (b & d) | (c & ~d);
            k = (5 * i + 1) % 16;
            break;
        case 2:
            q = b ^ c ^ d;
            k = (3 * i + 5) % 16;
            break;
        default:
            q = c ^ (b | ~d);
            k = (7 * i) % 16;
            break;
        }
        uint32_t next = Md5Step(q, a, b, x[k], kS[i / 16][i % 4], kT[i]);
        a = d;
        d = c;
        c = b;
        b = next;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

}  // namespace

uint32_t Md5Step(uint32_t q, uint32_t a, uint32_t b, uint32_t x, uint32_t s, uint32_t t)
{
    const uint32_t v = a + q + x + t;
    s &= 31u;
    return b + ((v << s) | (v >> ((32u - s) & 31u)));
}

std::vector<uint32_t> TextToWordsLE(const std::string& text)
{
    // Enough for the padded message: (size + 8) / 64 + 1 blocks.
    size_t needed = 16 * ((text.size() + 8) / 64) + 16;
    std::vector<uint32_t> words(needed > kMinWords ? needed : kMinWords, 0u);
    for (size_t i = 0; i < text.size(); ++i)
        words[i / 4] |= static_cast<uint32_t>(static_cast<unsigned char>(text[i])) << (8 * (i % 4));
    return words;
}

std::vector<uint32_t> Md5Core(const std::vector<uint32_t>& words, uint64_t bits)
{
    // Padded message: the words, the 1 bit after the message, zeros, and the
    // 64-bit length in the last two words of the last block.
    const uint64_t blocks = (bits + 64) / 512 + 1;
    const uint64_t padIndex = bits / 32;
    const uint32_t padBit = 0x80u << (bits % 32);
    uint32_t state[4] = {kInit[0], kInit[1], kInit[2], kInit[3]};
    for (uint64_t b = 0; b < blocks; ++b) {
        uint32_t x[16];
        for (int j = 0; j < 16; ++j) {
            uint64_t i = 16 * b + j;
            x[j] = i < words.size() ? words[static_cast<size_t>(i)] : 0u;
            if (i == padIndex)
                x[j] |= padBit;
        }
        if (b + 1 == blocks) {
            x[14] = static_cast<uint32_t>(bits);
            x[15] = static_cast<uint32_t>(bits >> 32);
        }
        Md5Block(state, x);
    }
    return std::vector<uint32_t>(state, state + 4);
}

std::string WordsToHexLE(const std::vector<uint32_t>& words, size_t count)
{
    if (count > words.size())
        count = words.size();
    std::string out;
    out.reserve(count * 8);
    for (size_t i = 0; i < count; ++i) {
        for (int byte = 0; byte < 4; ++byte) {
            uint32_t v = (words[i] >> (8 * byte)) & 0xFFu;
            out += kHexDigits[v >> 4];
            out += kHexDigits[v & 15u];
        }
    }
    return out;
}

std::string Md5Hex(const std::string& text)
{
    const std::vector<uint32_t> digest =
        Md5Core(TextToWordsLE(text), static_cast<uint64_t>(text.size()) * 8);
    return WordsToHexLE(digest, digest.size());
}

std::string SignMediaUrl(const std::string& address)
{
    const std::string signedAddress =
        address + "?rs=" + IntToString(80) + "&ri=" + IntToString(5000);
    return signedAddress + "&h=" + Md5Hex("k47m2Qx8Tn5" + signedAddress);
}
