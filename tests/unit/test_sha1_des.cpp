// SHA-1 and DES: list texts, digests against published and independently
// computed vectors, and the cipher against published known answers.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sha1_des.h"
#include "unit/bytes.h"

namespace {

std::string Bytes(const std::string& hex)
{
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

// Byte i is (i * 37 + 11) mod 256: every byte value, half of them >= 0x80.
std::string Pattern(size_t n)
{
    std::string out(n, '\0');
    for (size_t i = 0; i < n; ++i)
        out[i] = static_cast<char>((i * 37 + 11) & 0xFF);
    return out;
}

}  // namespace

TEST(ListText, ParseIntListItems)
{
    struct Case {
        const char* list;
        std::vector<int32_t> items;
    };
    const Case cases[] = {
        {"", {0}},
        {"5,", {5}},
        {"5", {5}},
        {",,", {0, 0}},
        {",", {0}},
        {"-1,2", {-1, 2}},
        {"1,,3,", {1, 0, 3}},
        {"x,+7,12ab,-,", {0, 7, 12, 0}},
        {"2147483647,-2147483648,", {INT32_MAX, INT32_MIN}},
        {"4294967295,", {-1}},  // a word printed unsigned reads back as the same word
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseIntList(c.list), c.items) << '"' << c.list << '"';
}

TEST(ListText, ItemsRoundTrip)
{
    const int32_t values[] = {0, 1, -1, 255, INT32_MAX, INT32_MIN};
    std::string list;
    for (int32_t v : values)
        list += IntToListItem(v);
    EXPECT_EQ(list, "0,1,-1,255,2147483647,-2147483648,");
    EXPECT_EQ(ParseIntList(list), std::vector<int32_t>(std::begin(values), std::end(values)));
}

TEST(Sha1, TextToWordsBE)
{
    struct Case {
        std::string text;
        const char* words;
    };
    const Case cases[] = {
        {"", "0,"},
        {"a", "1627389952,"},                             // 0x61000000
        {"abcd", "1633837924,0,"},                        // a whole word, then the word 0
        {"\x80", "-2147483648,"},                         // top bit set: negative
        {"\xff\xff\xff\xff\x01", "-1,16777216,"},
        {std::string("\0\0\0\x01", 4), "1,0,"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextToWordsBE(c.text), c.words) << ToHex(c.text);
}

TEST(Sha1, CoreAndHexForms)
{
    const std::string core = Sha1Core(TextToWordsBE("abc"), 24);
    EXPECT_EQ(core, "-1449574858,1191608682,-1170332303,2018558572,-1664034659");
    EXPECT_EQ(WordsToHexBE(core), "a9993e364706816aba3e25717850c26c9cd0d89d");
    EXPECT_EQ(WordsToHexBE("-1,0,1,"), "ffffffff0000000000000001");
    EXPECT_EQ(WordsToHexBE("-1,0,1"), "ffffffff0000000000000001");
}

// FIPS 180 examples and the million 'a'.
TEST(Sha1, StandardVectors)
{
    struct Case {
        std::string text;
        const char* digest;
    };
    const Case cases[] = {
        {"abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
        {"", "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
        {std::string(1000000, 'a'), "34aa973cd4c4daa4f61eeb2bdbad27316534016f"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Sha1Hex(c.text), c.digest) << c.text.size() << " bytes";
}

// References from Python's hashlib over the same bytes.
TEST(Sha1, PaddingEdgesAndHighBytes)
{
    struct Case {
        size_t length;
        const char* digest;
    };
    // Pattern(length)
    const Case cases[] = {
        {0, "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
        {1, "067d5096f219c64b53bb1c7d5e3754285b565a47"},
        {3, "5e8b290f00d31c341d769e40255c757924864ef3"},
        {55, "c4622048cfef59b72875839ee7ae1cbcf55e7658"},
        {56, "ddc12942656468475970fa4fa49161f52ed138e4"},
        {57, "c3299df7d6a56509d38a55d09ccf403d4a56d044"},
        {63, "7f8c3fa49f1297bd8b9feb964b6b419987f9f0d1"},
        {64, "a334b47180c61fd522f99905ec02c36f9e848211"},
        {65, "dd27d9eb923d39687e10872c3e8133ba2f0a68a1"},
        {119, "bea949473b1ec34747ce121c3293624b5d9d8f84"},
        {120, "bf05266acd3ec21592b4d42aaea97fa6f3e51926"},
        {127, "b2b4bfd7b2112a167b77a600cca227593523c406"},
        {128, "3b1953091899492377f686c266b81d84b5d40f70"},
        {375, "7fef7621cb38f3a2400872ad5b532276a74c1a2d"},
        {376, "5cbb0186be07a7571d5b0add52a4cf7d0d45b274"},
        {1000, "2c4169b2993df842a68ce33d5a1120339ab1057f"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Sha1Hex(Pattern(c.length)), c.digest) << c.length << " bytes";

    EXPECT_EQ(Sha1Hex("\x80"), "c78ebd3c85a39a596d9f5cfd2b8d240bc1b9c125");
    EXPECT_EQ(Sha1Hex(std::string(64, '\xff')), "ffc6261e487efa8c7442069f71acfc4aa826993d");
    EXPECT_EQ(Sha1Hex("\xc4\xe3\xba\xc3"), "4bd9abaa33ea0834383e15fef9ae377f762fc03b");
}

TEST(Sha1, Base64FormHasNoPad)
{
    EXPECT_EQ(Base64Pad, "");
    EXPECT_EQ(Sha1Base64("abc"), "qZk+NkcGgWq6PiVxeFDCbJzQ2J0");  // standard form ends in "="
    EXPECT_EQ(Sha1Base64(""), "2jmj7l5rSw0yVb/vlWAYkK/YBwk");
    EXPECT_EQ(WordsToBase64BE("1,"), "AAAAAQ");
    EXPECT_EQ(WordsToBase64BE("1,2,3,"), "AAAAAQAAAAIAAAAD");

    EXPECT_EQ(Sha1Digest("abc", 0), "a9993e364706816aba3e25717850c26c9cd0d89d");
    EXPECT_EQ(Sha1Digest("abc", 1), "qZk+NkcGgWq6PiVxeFDCbJzQ2J0");
    EXPECT_EQ(Sha1Digest("abc", -3), "qZk+NkcGgWq6PiVxeFDCbJzQ2J0");
}

TEST(Des, HexToByteList)
{
    struct Case {
        const char* hex;
        const char* list;
    };
    const Case cases[] = {
        {"0x0a0B", "10,11,"},
        {"0X0a", "0,10,"},   // only a lower-case "0x" is skipped
        {"abc", "171,12,"},  // a lone last digit
        {"", ""},
        {"0x", ""},
        {"FF80", "255,128,"},
        {"zz1g", "0,1,"},    // a pair counts by its leading hex digits
    };
    for (const Case& c : cases)
        EXPECT_EQ(HexToByteList(c.hex), c.list) << '"' << c.hex << '"';
}

TEST(Des, CharsToTextKeepsEveryByte)
{
    const std::string text = CharsToText(0, 1, 255, 128, -1, 256, 0x141, 7);
    EXPECT_EQ(text.size(), 8u);
    EXPECT_EQ(ToHex(text), "0001ff80ff004107");
}

TEST(Des, SubkeyList)
{
    // Rounds 1 and 16 of key 133457799BBCDFF1: K1 groups 6 48 11 47 63 7 1 50,
    // K16 groups 50 51 54 11 3 33 31 53 (S-boxes 1 to 8).
    int32_t count = 0;
    const std::vector<int32_t> items = ParseIntList(DesCreateKeys(Bytes("133457799BBCDFF1"), count));
    ASSERT_EQ(count, 32);
    ASSERT_EQ(items.size(), 32u);
    EXPECT_EQ(items[0], 0x302F0732);   // S-boxes 2, 4, 6, 8
    EXPECT_EQ(items[1], 0x060B3F01);   // S-boxes 1, 3, 5, 7
    EXPECT_EQ(items[30], 0x330B2135);
    EXPECT_EQ(items[31], 0x3236031F);

    struct Case {
        size_t length;
        int32_t count;
    };
    const Case cases[] = {{0, 32}, {7, 32}, {8, 32}, {9, 96}, {24, 96}, {30, 96}};
    for (const Case& c : cases) {
        int32_t n = -1;
        const std::string list = DesCreateKeys(Pattern(c.length), n);
        EXPECT_EQ(n, c.count) << c.length;
        EXPECT_EQ(ParseIntList(list).size(), static_cast<size_t>(c.count)) << c.length;
    }
    // Characters after the 24th are not read.
    int32_t n = 0;
    EXPECT_EQ(DesCreateKeys(Pattern(30), n), DesCreateKeys(Pattern(24), n));
}

// Published DES known answers (worked example, NBS validation set, FIPS 81).
TEST(Des, KnownAnswers)
{
    struct Case {
        const char* key;
        const char* plain;
        const char* cipher;
    };
    const Case cases[] = {
        {"133457799BBCDFF1", "0123456789ABCDEF", "85e813540f0ab405"},
        {"0101010101010101", "8000000000000000", "95f8a5e5dd31d900"},
        {"0101010101010101", "4000000000000000", "dd7f121ca5015619"},
        {"0101010101010101", "2000000000000000", "2e8653104f3834ea"},
        {"8001010101010101", "0000000000000000", "95a8d72813daa94d"},
        {"4001010101010101", "0000000000000000", "0eec1487dd8c26d5"},
        {"7CA110454A1A6E57", "01A1D6D039776742", "690f5b0d9a26939b"},
        {"0131D9619DC1376E", "5CD54CA83DEF57DA", "7a389d10354bd271"},
        {"07A1133E4A0B2686", "0248D43806F67172", "868ebb51cab4599a"},
        {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "7359b2163e4edc58"},
        // "Now is the time for all "
        {"0123456789ABCDEF", "4e6f77206973207468652074696d6520666f7220616c6c20",
         "3fa40e8a984d48156a271787ab8883f9893d51ec4b563b53"},
        // Triple DES, three keys (encrypt, decrypt, encrypt): "The qufck brown fox jump"
        {"0123456789ABCDEF23456789ABCDEF01456789ABCDEF0123",
         "54686520717566636b2062726f776e20666f78206a756d70",
         "a826fd8ce53b855fcce21c8112256fe668d5c05dd9b6b900"},
        // Triple DES with three equal keys is single DES.
        {"133457799BBCDFF1133457799BBCDFF1133457799BBCDFF1", "0123456789ABCDEF",
         "85e813540f0ab405"},
    };
    for (const Case& c : cases) {
        const std::string key = Bytes(c.key);
        EXPECT_EQ(ToHex(DesCrypt(key, HexToByteList(c.plain), 1, 0, "", "")), c.cipher) << c.key;
        EXPECT_EQ(DesDecryptHex(key, c.cipher), Bytes(c.plain)) << c.key;
    }
}

TEST(Des, CbcKnownAnswer)
{
    // FIPS 81 CBC example: "Now is the time for all ", IV 1234567890ABCDEF.
    const std::string key = Bytes("0123456789ABCDEF");
    const std::string iv = Bytes("1234567890ABCDEF");
    const std::string plain = "Now is the time for all ";
    const std::string cipher = "e5c7cdde872bf27c43e934008c389c0f683788499a7c05f6";
    EXPECT_EQ(ToHex(DesCrypt(key, ByteList(plain), 1, 1, iv, "")), cipher);
    EXPECT_EQ(DesCrypt(key, HexToByteList(cipher), 0, 1, iv, ""), plain);
}

// Key texts shorter than the key bytes read take 0 for the missing bytes.
// References from OpenSSL with the zero-filled keys.
TEST(Des, ShortKeys)
{
    struct Case {
        std::string key;
        const char* cipher;
        const char* plain;
    };
    const Case cases[] = {
        {Bytes("133457799BBCDF"), "af377dc20a310c46", "0123456789abcdef"},  // 7 characters
        {"ab", "90facfb288bd1188", "0123456789abcdef"},
        {"", "8ca64de9c1b123a7", "0000000000000000"},  // zero first byte keeps its block
        {Bytes("0123456789abcdef23"), "8f70e5179486bb8f", "0123456789abcdef"},  // 9: triple
        {Bytes("0123456789ABCDEF23456789ABCDEF01456789ABCDEF"), "bc56afc6ab90afe1",
         "0123456789abcdef"},  // 23 characters
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ToHex(DesDecryptHex(c.key, c.cipher)), c.plain) << ToHex(c.key);
        const std::string filled = c.key + std::string(c.key.size() > 8 ? 24 - c.key.size() : 8 - c.key.size(), '\0');
        EXPECT_EQ(DesDecryptHex(c.key, c.cipher), DesDecryptHex(filled, c.cipher)) << ToHex(c.key);
    }
}

// A message that is not whole blocks is filled up with zero bytes.
TEST(Des, PartialBlocks)
{
    const std::string key = Bytes("133457799BBCDFF1");
    struct Case {
        const char* hex;
        const char* padded;
    };
    const Case cases[] = {
        {"85e813540f0ab4050102", "85e813540f0ab4050102000000000000"},
        {"85e813540f0ab4", "85e813540f0ab400"},
        {"", "0000000000000000"},  // the empty list is the one byte 0
        {"0x", "0000000000000000"},
    };
    for (const Case& c : cases) {
        const std::string out = DesDecryptHex(key, c.hex);
        EXPECT_EQ(out.size() % 8, 0u) << c.hex;
        EXPECT_EQ(out, DesDecryptHex(key, c.padded)) << c.hex;
    }
    EXPECT_EQ(DesCrypt(key, "1,2,3,", 1, 0, "", ""), DesCrypt(key, "1,2,3,0,0,0,0,0,", 1, 0, "", ""));
}

// Output is gathered 64 blocks at a time; no block may be lost or repeated.
TEST(Des, ManyBlocks)
{
    const std::string key = Bytes("0123456789ABCDEF");
    for (size_t blocks : {1u, 63u, 64u, 65u, 128u, 129u}) {
        const std::string plain = Pattern(8 * blocks);
        const std::string cipher = DesCrypt(key, ByteList(plain), 1, 0, "", "");
        ASSERT_EQ(cipher.size(), 8 * blocks);
        for (size_t b = 0; b < blocks; ++b) {
            const std::string one = DesCrypt(key, ByteList(plain.substr(8 * b, 8)), 1, 0, "", "");
            ASSERT_EQ(cipher.substr(8 * b, 8), one) << "block " << b << " of " << blocks;
        }
        EXPECT_EQ(DesDecryptHex(key, ToHex(cipher)), plain) << blocks;
    }
}
