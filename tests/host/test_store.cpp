// Result store client: lookup, upload, and the two encodings of its query values.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "config/hosts.h"
#include "fake_http.h"
#include "store.h"

namespace {

const std::string kStore = std::string("http://") + cfg::ServiceHost;
const char* kPage = "http://www.ku6.com/a b?x=1&y=2";
// kPage with every byte but letters and digits escaped, the blank as "+".
const char* kPageEncoded = "http%3A%2F%2Fwww%2Eku6%2Ecom%2Fa+b%3Fx%3D1%26y%3D2";

std::string LookupAddress()
{
    return kStore + "/flvStorage/find.php?url=" + kPageEncoded;
}

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override { fakehttp::Reset(); }
    void TearDown() override { fakehttp::Reset(); }
};

}  // namespace

TEST(UrlEncode, Bytes)
{
    struct Case {
        std::string in, out;
    } cases[] = {
        {"", ""},
        {"azAZ09", "azAZ09"},
        {"a b", "a+b"},
        {"&=?/:", "%26%3D%3F%2F%3A"},
        {"-_.~%+", "%2D%5F%2E%7E%25%2B"},
        {std::string("\0\x1f\x7f", 3), "%00%1F%7F"},
        {"\xd6\xd0\x80\xff", "%D6%D0%80%FF"},  // high bytes never count as letters
    };
    for (const Case& c : cases)
        EXPECT_EQ(UrlEncode(c.in), c.out) << c.in;
}

TEST(AnsiToUtf8, CodePage936)
{
    struct Case {
        std::string in, out;
    } cases[] = {
        {"", ""},
        {"plain ascii", "plain ascii"},
        {"\xd6\xd0\xce\xc4", "\xe4\xb8\xad\xe6\x96\x87"},           // U+4E2D U+6587, three bytes each
        {"a\xb1\xea" "b\xcc\xe2", "a\xe6\xa0\x87" "b\xe9\xa2\x98"},  // U+6807 U+9898 between letters
        {"\xa8\xa6\xa1\xa4", "\xc3\xa9\xc2\xb7"},                   // U+00E9 U+00B7, two bytes each
        // A pair the code page cannot give is dropped, and the text goes on after it.
        {"x\x81\x20y", "xy"},
        {"\xff\xfe" "z", "z"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AnsiToUtf8(c.in.data(), c.in.size()), c.out) << c.in;
    EXPECT_EQ(AnsiToUtf8(nullptr, 4), "");
}

TEST(AnsiToUtf8, LeadByteInTheLastPlaceIsDroppedAndNothingBeyondIsRead)
{
    // Exact-size heap blocks with no terminator: a read past the text trips the sanitizer.
    std::vector<char> lone = {'a', 'b', '\xd6'};
    EXPECT_EQ(AnsiToUtf8(lone.data(), lone.size()), "ab");
    std::vector<char> pairThenLead = {'\xd6', '\xd0', '\xce'};
    EXPECT_EQ(AnsiToUtf8(pairThenLead.data(), pairThenLead.size()), "\xe4\xb8\xad");
    std::vector<char> only = {'\xd6'};
    EXPECT_EQ(AnsiToUtf8(only.data(), only.size()), "");
    // The length bounds the text, not its terminator.
    EXPECT_EQ(AnsiToUtf8("\xd6\xd0\xce\xc4", 3), "\xe4\xb8\xad");
}

TEST_F(StoreTest, LookupRepliesAreCopiedHitOrMiss)
{
    struct Case {
        const char* name;
        std::string body;
        std::string extraHeaders;
        bool hit;
        std::string out;  // what the output then holds
    } cases[] = {
        {"hit", "<title>T</title><flv>http://a/1.flv<|></flv>", "", true,
         "<title>T</title><flv>http://a/1.flv<|></flv>"},
        {"empty list", "<title>T</title><flv></flv>", "", false, "<title>T</title><flv></flv>"},
        {"no list", "not found", "", false, "not found"},
        {"unclosed list", "<flv>http://a/1.flv<|>", "", false, "<flv>http://a/1.flv<|>"},
        {"list part beyond the title", "<title></title><flv>x<&></flv><flv></flv>", "", true,
         "<title></title><flv>x<&></flv><flv></flv>"},
        // A reply marked UTF-8 in its own text comes back in the ANSI code page.
        {"utf-8 in the text", "charset=utf-8<title>\xe4\xb8\xad</title><flv>u<|></flv>", "", true,
         "charset=utf-8<title>\xd6\xd0</title><flv>u<|></flv>"},
        // No header buffer: neither the content type nor the encoding is looked at.
        {"utf-8 header only", "<title>\xe4\xb8\xad</title><flv>u<|></flv>",
         "Content-Type: text/html; charset=utf-8\r\n", true, "<title>\xe4\xb8\xad</title><flv>u<|></flv>"},
        {"compressed", "\x1f\x8b\x08<flv>z</flv>", "Content-Encoding: gzip\r\n", true, "\x1f\x8b\x08<flv>z</flv>"},
    };
    for (const Case& c : cases) {
        fakehttp::Reset();
        fakehttp::ServePage(LookupAddress(), c.body, "HTTP/1.1 200 OK", c.extraHeaders);
        std::vector<char> out(524288, 'q');
        EXPECT_EQ(LookupStoredList(kPage, out.data(), out.size()), c.hit) << c.name;
        EXPECT_EQ(std::string(out.data()), c.out) << c.name;
    }
}

TEST_F(StoreTest, LookupIsOneGetOnTheServiceHost)
{
    fakehttp::ServePage(LookupAddress(), "<flv>a<|></flv>");
    char out[64];
    EXPECT_TRUE(LookupStoredList(kPage, out, sizeof out));
    ASSERT_EQ(fakehttp::Requests().size(), 1u);
    const FakeRequest& r = fakehttp::Requests()[0];
    EXPECT_EQ(r.verb, "GET");
    EXPECT_EQ(r.server, cfg::ServiceHost);
    EXPECT_EQ(r.port, 80);
    EXPECT_EQ(r.path, std::string("/flvStorage/find.php?url=") + kPageEncoded);
    EXPECT_TRUE(r.followRedirects);
    EXPECT_EQ(r.headers.size(), 4u);  // the default request headers
}

TEST_F(StoreTest, NoReplyLeavesTheOutputUntouched)
{
    char out[16] = "untouched";
    // Nothing served: the request fails.
    EXPECT_FALSE(LookupStoredList(kPage, out, sizeof out));
    EXPECT_STREQ(out, "untouched");
    // A reply of no bytes.
    fakehttp::ServePage(LookupAddress(), "");
    EXPECT_FALSE(LookupStoredList(kPage, out, sizeof out));
    EXPECT_STREQ(out, "untouched");
    FakeReply failed;
    failed.error = kErrNameNotResolved;
    fakehttp::Serve(cfg::ServiceHost, std::string("/flvStorage/find.php?url=") + kPageEncoded, failed);
    EXPECT_FALSE(LookupStoredList(kPage, out, sizeof out));
    EXPECT_STREQ(out, "untouched");
}

TEST_F(StoreTest, LongRepliesStayInsideTheOutput)
{
    // The reply block keeps 524287 characters; a longer reply is cut there.
    const std::string list = "<flv>http://a/1.flv<|></flv>";
    const std::string full = list + std::string(524287 - list.size(), 'p');
    for (const std::string& body : {full, full + std::string(1000, 'r')}) {
        fakehttp::ServePage(LookupAddress(), body);
        // Exact-size heap blocks: a write past them trips the sanitizer.
        std::vector<char> out(524288, 'q');
        EXPECT_TRUE(LookupStoredList(kPage, out.data(), out.size()));
        EXPECT_EQ(std::strlen(out.data()), 524287u);
        EXPECT_EQ(std::string(out.data()), full);
        // A smaller output gets what fits, terminated.
        std::vector<char> small(100, 'q');
        EXPECT_TRUE(LookupStoredList(kPage, small.data(), small.size()));
        EXPECT_EQ(std::string(small.data()), full.substr(0, 99));
    }
}

TEST_F(StoreTest, UploadQueryInOrderAndEncoded)
{
    // Title: U+4E2D U+6587, a blank, "x&" in code page 936.
    StoreResolvedList(kPage, "\xd6\xd0\xce\xc4 x&", "http://f.example/1.flv?k=v<|>http://f.example/2.flv<|>");
    ASSERT_EQ(fakehttp::Requests().size(), 1u);
    const FakeRequest& r = fakehttp::Requests()[0];
    EXPECT_EQ(r.verb, "GET");
    EXPECT_EQ(r.server, cfg::ServiceHost);
    EXPECT_EQ(r.port, 80);
    EXPECT_TRUE(r.followRedirects);
    EXPECT_EQ(r.path, std::string("/flvStorage/cache.php?url=") + kPageEncoded +
                          "&flv=http%3A%2F%2Ff%2Eexample%2F1%2Eflv%3Fk%3Dv%3C%7C%3E"
                          "http%3A%2F%2Ff%2Eexample%2F2%2Eflv%3C%7C%3E"
                          "&title=%E4%B8%AD%E6%96%87+x%26");
}

TEST_F(StoreTest, UploadWithEmptyValuesAndAFailedReply)
{
    // Nothing served: the upload fails silently.
    StoreResolvedList("", "", "a<&>");
    ASSERT_EQ(fakehttp::Requests().size(), 1u);
    EXPECT_EQ(fakehttp::Requests()[0].path, "/flvStorage/cache.php?url=&flv=a%3C%26%3E&title=");
}
