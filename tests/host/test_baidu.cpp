// Baidu extractor: the player call, the drawn server, the info key's field walk and
// the access code.
#include <string>

#include "baidu.h"
#include "config/hosts.h"
#include "extractor_test.h"
#include "extractors.h"
#include "rand_clock.h"
#include "sha1_des.h"
#include "unit/bytes.h"

namespace {

// With the clock at this second the first draw gives the server 90.
const int64_t kNow = 1234567890;
const std::string kServer = "v90.";
const std::string kDefaultServer = kServer + cfg::BaiduVideoHost;

// A path of more than 24 characters: the identifier is its first 24.
const std::string kPath = "abcdefghijklmnopqrstuvwxyz01.flv";
const std::string kId = "abcdefghijklmnopqrstuvwx";

// The info key of a plain text: its DES encipherment under the key, in hexadecimal.
// A plain text that is not a whole number of blocks is zero-filled to one.
std::string InfoKey(const std::string& desKey, const std::string& plain)
{
    return ToHex(DesCrypt(desKey, ByteList(plain), 1, 0, std::string(), std::string()));
}

std::string KeyReply(const std::string& key)
{
    return "<?xml version=\"1.0\"?><info><key>" + key + "</key><time>1</time></info>";
}

std::string PlayerPage(const std::string& call)
{
    return "<html><head><title>Baidu clip</title></head><body><script>" + call + "</script></body></html>";
}

// Runs the extractor with the clock fixed at kNow.
class BaiduTest : public ExtractorTest {
protected:
    std::string Run(const std::string& url, const std::string& pageText)
    {
        FixedCalendarTime clock(kNow);
        return ExtractorTest::Run(WithAddress(ExtractBaidu), url, pageText);
    }
};

}  // namespace

TEST(BaiduServer, DrawnFromTheClockAndWrittenWithTwoDigits)
{
    // The clock's second seeds the generator; the server is the first draw mod 99 + 1.
    struct Case {
        int64_t now;
        const char* server;
    } cases[] = {
        {1234567890, "90"}, {1000000000, "75"}, {1200000000, "82"}, {1234567893, "01"},
        {1234567926, "09"}, {1234567956, "08"},
    };
    for (const Case& c : cases) {
        FixedCalendarTime clock(c.now);
        EXPECT_EQ(RandomizeHost("cdn.example/v/"), std::string("http://v") + c.server + ".cdn.example/v/") << c.now;
        // Draws within one second repeat.
        EXPECT_EQ(RandomizeHost("x"), std::string("http://v") + c.server + ".x") << c.now;
    }
}

TEST(BaiduXcode, FieldWalk)
{
    const std::string address = "http://" + kDefaultServer + "/video/" + kPath;
    struct Case {
        const char* name;
        std::string plain;  // zero-filled to whole blocks before it is enciphered
        std::string hashed;
        std::string field2;
    } cases[] = {
        {"four fields", "k1,k2,k3,rest567", "k1,k2,rest567," + kId, "k2"},
        {"four fields, rest zero-filled", "a1,b2,c3,d4", "a1,b2", "b2"},
        {"four or more commas: empty rest", "a,b,c,d,e,f,g,h", "a,b,," + kId, "b"},
        {"two commas: the third field is the rest", "aa,bb,cccccccccc", "aa,bb,cccccccccc," + kId, "bb"},
        {"no comma: all is the rest", "abcdefgh", ",,abcdefgh," + kId, ""},
        {"no comma, zero-filled", "abc", ",", ""},
        {"a comma after a zero byte is not seen", std::string("a,b,c\0,d,e,f", 12), "a,b", "b"},
        {"ends after field 1", "1234567,", "1234567,,," + kId, ""},
        {"ends after field 2", "123456,,", "123456,,," + kId, ""},
    };
    for (const Case& c : cases) {
        const std::string key = InfoKey(kId.substr(0, 8), c.plain);
        EXPECT_EQ(MakeBaiduXcode(key, address), Sha1Hex(c.hashed) + "_" + c.field2) << c.name;
    }
}

TEST(BaiduXcode, DigestsAgainstKnownValues)
{
    // Digests worked out apart from this code.
    const std::string address = "http://" + kDefaultServer + "/video/" + kPath;
    EXPECT_EQ(MakeBaiduXcode(InfoKey("abcdefgh", "k1,k2,k3,rest567"), address),
              "2b5a67fbf1b7c585caee9163c11c30945128e739_k2");
    EXPECT_EQ(MakeBaiduXcode(InfoKey("abcdefgh", "a1,b2,c3,d4"), address),
              "016a302764b99d7a0a509111ad90594ced986223_b2");
}

TEST(BaiduXcode, IdentifierFromTheVideoAddress)
{
    struct Case {
        const char* name;
        std::string address;
        std::string id;
    } cases[] = {
        {"24 characters after /video/", "http://v01.h/video/" + kPath, kId},
        {"a shorter path", "http://v01.h/video/short.flv", "short.flv"},
        {"the first /video/", "http://v01.h/video/a/video/b", "a/video/b"},
        {"nothing after /video/", "http://v01.h/video/", ""},
        {"no /video/: from index 6", "http://v01.cdn.example/v/" + kPath, "/v01.cdn.example/v/abcde"},
        {"no /video/, short address", "http://x", "/x"},
        {"no /video/, ends before index 6", "http:", ""},
        {"empty address", "", ""},
    };
    for (const Case& c : cases) {
        const std::string key = InfoKey(c.id.substr(0, 8), "p,q,r,st");
        EXPECT_EQ(MakeBaiduXcode(key, c.address), Sha1Hex("p,q,st," + c.id) + "_q") << c.name;
    }
}

TEST_F(BaiduTest, PlayerCallToStreamAddress)
{
    const std::string key = InfoKey(kId.substr(0, 8), "k1,k2,k3,rest567");
    const std::string code = "2b5a67fbf1b7c585caee9163c11c30945128e739_k2";
    struct Case {
        const char* name;
        std::string url, page;
        std::string server, path;  // of the info request and the stream
    } cases[] = {
        {"default base", "http://video.baidu.com/v?id=1", PlayerPage("BVP.play(\"" + kPath + "\", {w:1})"),
         kDefaultServer, "/video/" + kPath},
        {"base with scheme", "http://video.baidu.com/v?id=1",
         PlayerPage("BVP.play(\"" + kPath + "\", {w:1, videoSource:\"http://cdn.example/video/\"})"),
         kServer + "cdn.example", "/video/" + kPath},
        {"base without scheme is used whole", "http://video.baidu.com/v?id=1",
         PlayerPage("BVP.play(\"" + kPath + "\", { videoSource:\"cdn.example/video/\"})"), kServer + "cdn.example",
         "/video/" + kPath},
        {"videoSource without its blank is not the base", "http://video.baidu.com/v?id=1",
         PlayerPage("BVP.play(\"" + kPath + "\", {videoSource:\"http://cdn.example/video/\"})"), kDefaultServer,
         "/video/" + kPath},
        {"base after the call's end is not read", "http://video.baidu.com/v?id=1",
         PlayerPage("BVP.play(\"" + kPath + "\", {w:1}) x({ videoSource:\"http://cdn.example/video/\"})"),
         kDefaultServer, "/video/" + kPath},
    };
    for (const Case& c : cases) {
        fakehttp::Reset();
        fakehttp::Serve(c.server, c.path + "?type=info&t=1234567890", fakehttp::Page(KeyReply(key)));
        EXPECT_EQ(Run(c.url, c.page),
                  "<title>Baidu clip</title><flv>http://" + c.server + c.path + "?xcode=" + code + "<|></flv>")
            << c.name;
        ASSERT_EQ(fakehttp::Requests().size(), 1u) << c.name;
        const FakeRequest& r = fakehttp::Requests()[0];
        EXPECT_EQ(r.verb, "GET") << c.name;
        EXPECT_EQ(r.port, 80) << c.name;
        EXPECT_TRUE(r.followRedirects) << c.name;
        EXPECT_EQ(r.headers.size(), 4u) << c.name;
    }
}

TEST_F(BaiduTest, PlayerAddressAndPagesWithoutThePathUseTheDefaultBaseAlone)
{
    // The identifier is empty, so is the DES key; the address ends in "/video/".
    const std::string key = InfoKey("", "p,q,r,st");
    const std::string code = Sha1Hex("p,q,st,") + "_q";
    const std::string stream = "http://" + kDefaultServer + "/video/?xcode=" + code;
    struct Case {
        const char* name;
        std::string url, page;
    } cases[] = {
        {".swf in any case: the call is not read", "http://video.baidu.com/Player.SWF?id=1",
         PlayerPage("BVP.play(\"" + kPath + "\", { videoSource:\"http://cdn.example/video/\"})")},
        {"no player call", "http://video.baidu.com/v?id=1", PlayerPage("play(\"" + kPath + "\")")},
        {"call without its end", "http://video.baidu.com/v?id=1", PlayerPage("BVP.play(\"" + kPath + "\", {w:1)")},
        {"call without a second quote", "http://video.baidu.com/v?id=1", PlayerPage("BVP.play(\"abc, {w:1})")},
    };
    for (const Case& c : cases) {
        fakehttp::Reset();
        fakehttp::Serve(kDefaultServer, "/video/?type=info&t=1234567890", fakehttp::Page(KeyReply(key)));
        EXPECT_EQ(Run(c.url, c.page), "<title>Baidu clip</title><flv>" + stream + "<|></flv>") << c.name;
        EXPECT_EQ(fakehttp::Requests().size(), 1u) << c.name;
    }
}

TEST_F(BaiduTest, InfoReplies)
{
    const std::string page = PlayerPage("BVP.play(\"" + kPath + "\", {w:1})");
    const std::string key = InfoKey(kId.substr(0, 8), "k1,k2,k3,rest567");
    const std::string other = InfoKey(kId.substr(0, 8), "x,y,z,w");
    const std::string stream = "http://" + kDefaultServer + "/video/" + kPath + "?xcode=";
    struct Case {
        const char* name;
        bool served;
        std::string reply;
        std::string flv;  // the list part
    } cases[] = {
        {"first of two keys", true, KeyReply(key) + KeyReply(other),
         "<flv>" + stream + "2b5a67fbf1b7c585caee9163c11c30945128e739_k2<|></flv>"},
        // No key, no stream: the title and an empty list.
        {"failed request", false, "", "<flv></flv>"},
        {"reply without a key element", true, "<info><time>1</time></info>", "<flv></flv>"},
        {"empty key element", true, KeyReply(""), "<flv></flv>"},
        {"key without its end", true, "<info><key>" + key, "<flv></flv>"},
    };
    for (const Case& c : cases) {
        fakehttp::Reset();
        if (c.served)
            fakehttp::Serve(kDefaultServer, "/video/" + kPath + "?type=info&t=1234567890", fakehttp::Page(c.reply));
        EXPECT_EQ(Run("http://video.baidu.com/v?id=1", page), "<title>Baidu clip</title>" + c.flv) << c.name;
        EXPECT_EQ(fakehttp::Requests().size(), 1u) << c.name;
    }
}

TEST_F(BaiduTest, InfoRequestTimeIsASigned32BitNumber)
{
    // A second past 2038 wraps to a negative number, as the 32-bit clock gives it.
    const int64_t later = int64_t(1) << 31;
    FixedCalendarTime clock(later);
    EXPECT_EQ(FetchBaiduInfoKey("http://v01.h", "/video/a"), "");
    ASSERT_EQ(fakehttp::Requests().size(), 1u);
    EXPECT_EQ(fakehttp::Requests()[0].server, "v01.h");
    EXPECT_EQ(fakehttp::Requests()[0].path, "/video/a?type=info&t=-2147483648");
}

TEST_F(BaiduTest, KeyTagIsCutAt1023Characters)
{
    fakehttp::ServePage("http://h/k", "<key>" + std::string(2000, 'a') + "</key>");
    EXPECT_EQ(FetchKeyTag("http://h/k"), std::string(1023, 'a'));
}
