// MD5 against RFC 1321 and independently computed vectors, and the media
// address signer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "md5.h"

namespace {

// Byte i is (i * 37 + 11) mod 256: every byte value, half of them >= 0x80.
std::string Pattern(size_t n)
{
    std::string out(n, '\0');
    for (size_t i = 0; i < n; ++i)
        out[i] = static_cast<char>((i * 37 + 11) & 0xFF);
    return out;
}

}  // namespace

TEST(Md5, Rfc1321Suite)
{
    struct Case {
        std::string text;
        const char* digest;
    };
    const Case cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Md5Hex(c.text), c.digest) << '"' << c.text << '"';
}

// References from Python's hashlib over the same bytes. Texts over 375 bytes
// no longer fit a fixed 100-word array.
TEST(Md5, PaddingEdgesLongTextsAndHighBytes)
{
    struct Case {
        size_t length;
        const char* digest;
    };
    // Pattern(length)
    const Case cases[] = {
        {0, "d41d8cd98f00b204e9800998ecf8427e"},
        {1, "13c8ffd977013703a701cf8e11deac65"},
        {3, "876d16c575f9d3d7f51f12fef37237eb"},
        {55, "d872aa0473a24da995ce4ac518ade767"},
        {56, "e23567645846677c205de80f9779081b"},
        {57, "1fe5e4a27e12484d7203d0b60c21c51f"},
        {63, "4775b66278a8fc132ff80923378216cd"},
        {64, "71e123b70c7aa64826fcfe472694cd1c"},
        {65, "5949948f26e35203661075214faa3966"},
        {119, "87f72c7241c5fe218bb4df8c0aba3232"},
        {120, "bf240b8b7407fba3805adeec63a03b77"},
        {127, "520bdc2dbab7c25d64263ffb242d9e98"},
        {128, "3e93b378458b77da96b2357c3bda8cc2"},
        {375, "21d4920958f9004eaf9c5d62e04b6fcb"},
        {376, "85d99b4c825cf1978afa1390b816282a"},
        {1000, "c3cb8ae118768782aa1896d7fb2827ef"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Md5Hex(Pattern(c.length)), c.digest) << c.length << " bytes";

    EXPECT_EQ(Md5Hex("\x80"), "8d39dd7eef115ea6975446ef4082951f");
    EXPECT_EQ(Md5Hex(std::string(64, '\xff')), "aabd2b2a451504e119a243d8e775fdad");
    EXPECT_EQ(Md5Hex("\xc4\xe3\xba\xc3"), "b94ae3c6d892b29cf48d9bea819b27b9");
    EXPECT_EQ(Md5Hex(std::string(1000000, 'a')), "7707d6ae4e027c70eea2a935c2296f21");
}

TEST(Md5, WordArraySizedFromLength)
{
    struct Case {
        size_t length;
        size_t words;
    };
    const Case cases[] = {{0, 100}, {375, 100}, {376, 112}, {1000, 256}};
    for (const Case& c : cases)
        EXPECT_EQ(TextToWordsLE(Pattern(c.length)).size(), c.words) << c.length;

    // Little-endian, high bytes not sign-extended, the rest zero.
    const std::vector<uint32_t> w = TextToWordsLE("\x01\x02\x03\x04\x80");
    EXPECT_EQ(w[0], 0x04030201u);
    EXPECT_EQ(w[1], 0x00000080u);
    EXPECT_TRUE(std::all_of(w.begin() + 2, w.end(), [](uint32_t v) { return v == 0; }));
}

TEST(Md5, CoreWordsAndHexForm)
{
    const std::vector<uint32_t> digest = Md5Core(TextToWordsLE("abc"), 24);
    EXPECT_EQ(digest, (std::vector<uint32_t>{0x98500190u, 0xB04FD23Cu, 0x7D3F96D6u, 0x727FE128u}));
    EXPECT_EQ(WordsToHexLE(digest, 4), "900150983cd24fb0d6963f7d28e17f72");
    // Words past the end of a short array count as 0.
    EXPECT_EQ(WordsToHexLE(Md5Core({}, 0), 4), "d41d8cd98f00b204e9800998ecf8427e");

    const std::vector<uint32_t> two = {0x04030201u, 0xA0B0C0D0u};
    EXPECT_EQ(WordsToHexLE(two, 1), "01020304");
    EXPECT_EQ(WordsToHexLE(two, 2), "01020304d0c0b0a0");
    EXPECT_EQ(WordsToHexLE(two, 9), "01020304d0c0b0a0");  // count beyond the array
    EXPECT_EQ(WordsToHexLE(two, 0), "");
}

TEST(Md5, StepWrapsAndRotates)
{
    struct Case {
        uint32_t q, a, b, x, s, t, result;
    };
    const Case cases[] = {
        {0, 0, 5, 0, 7, 0, 5},
        {1, 0xFFFFFFFFu, 0, 0, 4, 0, 0},                    // a + q wraps to 0
        {0, 0x80000000u, 0, 0, 1, 0, 1},                    // the top bit rotates round
        {0, 0x12345678u, 0, 0, 0, 0, 0x12345678u},          // rotation by 0
        {0x10, 0x20, 0xFFFFFFFFu, 0x30, 8, 0x40, 0x9FFFu},  // b + 0xA000 wraps
        {0, 0x12345678u, 0, 0, 16, 0, 0x56781234u},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Md5Step(c.q, c.a, c.b, c.x, c.s, c.t), c.result) << c.a << " <<< " << c.s;
}

// Digests from Python's hashlib of "k47m2Qx8Tn5" + the signed address.
TEST(SignMediaUrl, SignedForms)
{
    struct Case {
        std::string address;
        std::string signedAddress;
        const char* digest;
    };
    const std::string longAddress = "http://media.example/" + std::string(400, 'p') + ".flv";
    const Case cases[] = {
        {"http://media.example/v/clip.flv", "http://media.example/v/clip.flv?rs=80&ri=5000",
         "8b6b0ff34d9de378c9c97420fd8a5721"},
        // An existing query is kept: two "?".
        {"http://media.example/v/clip.flv?id=7", "http://media.example/v/clip.flv?id=7?rs=80&ri=5000",
         "f9d030b7e648bc60ef73c5f9ad931b5f"},
        // Over 350 bytes: the digest covers more than 375 bytes.
        {longAddress, longAddress + "?rs=80&ri=5000", "f40d64192fc658976c0c725ae615291f"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SignMediaUrl(c.address), c.signedAddress + "&h=" + c.digest) << c.address.size();
        EXPECT_EQ(Md5Hex("k47m2Qx8Tn5" + c.signedAddress), c.digest);
    }
}
