// Tudou extractor: the item id, the player script and its weights, the endpoint draw,
// the interface reply with its character references.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "config/hosts.h"
#include "dispatch.h"
#include "extractors.h"
#include "fake_http.h"
#include "rand_clock.h"
#include "tudou.h"

namespace {

const std::string kCdn = std::string("http://") + cfg::TudouInterfaceHost2 + "/v2/cdn";
const std::string kVphp = std::string("http://") + cfg::TudouInterfaceHost1 + "/cdn/v.php";
const std::string kKili = std::string("http://") + cfg::TudouInterfaceHost2 + "/v2/kili";
const std::string kScriptUrl = "http://js.tudou.com/js/player.js";
const std::string kPage = "http://www.tudou.com/programs/view/abc/";

std::string Script(const std::string& ports, const std::string& safekey)
{
    return "var x;\nfunction tudouPlayer( p, s, e, i, l ) {\n var so = {\"ports\": '" + ports +
           "', \"safekey\": \"" + safekey + "\"};\n swfobject.embedSWF(p, s);\n}\n";
}

std::string PageWith(const std::string& iidLine)
{
    return "<html><script>" + iidLine + "</script><script>var playerSetting = {};</script>"
           "<script type=\"text/javascript\" src=\"" + kScriptUrl + "\"></script></html>";
}

std::string Interface(const std::string& title, const std::string& items)
{
    return "<?xml version=\"1.0\" encoding=\"gbk\"?><v time=\"1\" q=\"" + title + "\"><b>" + items + "</b></v>";
}

std::string F(const std::string& url)
{
    return "<f w=\"10\" brt=\"2\">" + url + "</f>";
}

class TudouTest : public ::testing::Test {
protected:
    void SetUp() override { fakehttp::Reset(); }
    void TearDown() override { fakehttp::Reset(); }

    std::string Run(const std::string& url, const std::string& pageText, const std::string& overrideUrl = "",
                    bool useOverride = false, std::string result = "old")
    {
        page.assign(1 << 16, '\0');
        headers.assign(10240, '\0');
        work.assign(1 << 16, 'w');
        std::copy(pageText.begin(), pageText.end(), page.begin());
        ExtractTudou(url.c_str(), page.data(), static_cast<uint32_t>(page.size()), headers.data(),
                     static_cast<uint32_t>(headers.size()), work.data(), static_cast<uint32_t>(work.size()), result,
                     overrideUrl, useOverride);
        return result;
    }
    // The interface address asked by the last request.
    static std::string LastRequest()
    {
        const FakeRequest& r = fakehttp::Requests().back();
        return "http://" + r.server + r.path;
    }

    std::vector<char> page, headers, work;
};

}  // namespace

TEST_F(TudouTest, IidRulesInOrder)
{
    struct Case {
        const char* what;
        std::string url, page, iid;
    } cases[] = {
        {"var iid", kPage, "var iid=123,b=2; iid: \"9\"", "123"},
        {"var iid with location.href.replace: the address", kPage + "?iid=456&x=1",
         "var iid=location.href.replace(/x/,''),b", "456&x=1"},
        {"address to its end", kPage + "?iid=456&x=1", "iid: \"9\"", "456&x=1"},
        {"iid: form", kPage, "var iid=location.href.replace(1),a=1; o={iid: \"789\"}; iid = 5,", "789"},
        {"iid = form", kPage, "x; iid = 55,y", "55"},
        {"empty var iid goes on", kPage, "var iid=,x; iid = 66,", "66"},
        {"none", kPage, "<html></html>", ""},
        // A control character or a byte from 0x80 on ends it.
        {"cut at a line break", kPage, "var iid=12\n3,", "12"},
        {"cut at a high byte", kPage, "var iid=12\xd6\xd0,", "12"},
        {"cut at a tab in the address", kPage + "?iid=7\t8", "", "7"},
        // At most 2559 characters are read.
        {"at its bound", kPage, "var iid=" + std::string(2559, '1') + ",", std::string(2559, '1')},
        {"past its bound", kPage, "var iid=" + std::string(2560, '1') + ",", std::string(2559, '1')},
        {"address form past its bound", kPage + "?iid=" + std::string(2560, '2'), "", std::string(2559, '2')},
    };
    for (const Case& c : cases) {
        fakehttp::Reset();
        Run(c.url, c.page);
        ASSERT_FALSE(fakehttp::Requests().empty()) << c.what;
        EXPECT_EQ(LastRequest(), kCdn + "?id=" + c.iid + "&noCatch=2573&safekey=") << c.what;
    }
}

TEST(FindTudouPlayerScript, SearchesOnFromTheEarlierMatch)
{
    struct Case {
        const char* what;
        std::string page, src;  // src "kept": the field stays as it was
    } cases[] = {
        {"after playerSetting", "<script>var playerSetting={}</script><script src=\"http://a/p.js\"></script>",
         "http://a/p.js"},
        {"the next script element only",
         "<script>playerSetting</script>\n<script>var x;</script><script src=\"http://a/p.js\"></script>", "kept"},
        {"attributes before src", "<script>playerSetting=1</script><script type=\"t\" src=\"http://a/p.js\" x></script>",
         "http://a/p.js"},
        {"PLAYER_SETTING", "<p>PLAYER_SETTING</p><script src=\"http://b/q.js\"></script>", "http://b/q.js"},
        // An empty playerSetting pair still moves the search for PLAYER_SETTING past it.
        {"empty playerSetting pair moves the search",
         "PLAYER_SETTING<script src=\"http://early/x.js\"></script>playerSetting</script>"
         "PLAYER_SETTING<script src=\"http://late/y.js\"></script>",
         "http://late/y.js"},
        {"PLAYER_SETTING before the empty pair is passed over",
         "PLAYER_SETTING<script src=\"http://early/x.js\"></script>playerSetting</script>", "kept"},
        {"no src", "<script>playerSetting=1</script><script>var a;</script>", "kept"},
        {"empty src", "<script>playerSetting=1</script><script src=\"\"></script>", "kept"},
        {"relative src kept as it stands", "<script>playerSetting=1</script><script src=\"/js/p.js\"></script>",
         "/js/p.js"},
        {"neither marker", "<script src=\"http://a/p.js\"></script>", "kept"},
        {"playerSetting without </script>", "playerSetting <script src=\"http://a/p.js\">", "kept"},
    };
    for (const Case& c : cases) {
        std::vector<char> field(40960, '\0');
        std::copy_n("kept", 5, field.begin());
        FindTudouPlayerScript(c.page.c_str(), field.data(), field.size());
        EXPECT_EQ(std::string(field.data()), c.src) << c.what;
    }
    // The address is cut to the field.
    std::vector<char> small(8, 'x');
    FindTudouPlayerScript("PLAYER_SETTING<script src=\"http://long/p.js\"></script>", small.data(), small.size());
    EXPECT_STREQ(small.data(), "http://");
}

TEST(ReadTudouPorts, PlayerBlockForms)
{
    const std::string embed = "swfobject.embedSWF(a);";
    struct Case {
        const char* what;
        std::string script, ports;  // "kept": the field stays as it was
    } cases[] = {
        {"tudouPlayer", "function tudouPlayer( p, s, e, i, l ) { \"ports\": '30:70', \"safekey\": \"K\" " + embed,
         "30:70:K"},
        {"kiliPlayer", "function kiliPlayer( p, s, e, i, l ) { \"ports\": '5:5', \"safekey\": \"Q\" " + embed,
         "5:5:Q"},
        {"anonymous form, tight markers", "x = function(p,s,e,i,l){\"ports\":'1:2',\"safekey\":\"Z\"}", "1:2:Z"},
        {"anonymous form, spaced markers", "x = function(p,s,e,i,l){\"ports\": '1:2', \"safekey\": \"Z\"}", "1:2:Z"},
        // Only the anonymous form knows the tight markers.
        {"tight markers in tudouPlayer", "function tudouPlayer( p, s, e, i, l ) {\"ports\":'1:2',\"safekey\":\"Z\"" +
                                             embed,
         "NULL:"},
        {"no ports", "function tudouPlayer( p, s, e, i, l ) { \"safekey\": \"K\" " + embed, "NULL:K"},
        {"no safekey", "function tudouPlayer( p, s, e, i, l ) { \"ports\": '3:4' " + embed, "3:4:"},
        {"values outside the block", "function tudouPlayer( p, s, e, i, l ) { } " + embed + "\"ports\": '3:4'",
         "NULL:"},
        // An empty first form moves the search for the next one past its end.
        {"empty tudouPlayer moves the search",
         "function kiliPlayer( p, s, e, i, l ) {\"ports\": '1:1' " + embed +
             "function tudouPlayer( p, s, e, i, l ) {" + embed +
             "function kiliPlayer( p, s, e, i, l ) {\"ports\": '2:2' " + embed,
         "2:2:"},
        {"no block", "function player(p) { \"ports\": '1:2' }", "kept"},
        {"tudouPlayer without embedSWF", "function tudouPlayer( p, s, e, i, l ) { \"ports\": '1:2' }", "kept"},
    };
    for (const Case& c : cases) {
        std::vector<char> field(40960, '\0');
        std::copy_n("kept", 5, field.begin());
        ReadTudouPorts(c.script.c_str(), field.data(), field.size());
        EXPECT_EQ(std::string(field.data()), c.ports) << c.what;
    }
}

TEST(ReadTudouPorts, PortsTextIsCutAtItsField)
{
    const std::string script = "function(p,s,e,i,l){\"ports\":'10:20',\"safekey\":\"abcdef\"}";
    std::vector<char> field(8, 'x');
    ReadTudouPorts(script.c_str(), field.data(), field.size());
    EXPECT_STREQ(field.data(), "10:20:a");
    // A safekey as long as the block allows is kept whole in a full field.
    const std::string key(40000, 'k');
    const std::string big = "function(p,s,e,i,l){\"ports\":'1:2',\"safekey\":\"" + key + "\"}";
    std::vector<char> full(40960, 'x');
    ReadTudouPorts(big.c_str(), full.data(), full.size());
    EXPECT_EQ(std::string(full.data()), "1:2:" + key);
}

TEST(PickTudouEndpoint, WeightsAndDrawWithTheClockFixed)
{
    // The draw is rand() % (first + second) + 1 after srand(clock): for 30:70 the clock
    // values 58, 89, 19 and 80 draw 29, 30, 1 and 100.
    struct Case {
        const char* what;
        int64_t clock;
        std::string ports, endpoint, safekey;
    } cases[] = {
        {"draw 29 is below 30", 58, "30:70:key", kCdn, "key"},
        {"draw 30 is not", 89, "30:70:key", kVphp, "key"},
        {"draw 1", 19, "30:70:key", kCdn, "key"},
        {"draw 100", 80, "30:70:key", kVphp, "key"},
        {"only the low 32 bits seed", (int64_t(1) << 32) + 58, "30:70:key", kCdn, "key"},
        {"NULL: no draw", 58, "NULL:abc", kVphp, "abc"},
        {"NULL with more colons", 58, "NULL:a:b", kVphp, "a:b"},
        {"0 and 0: no draw, -1 is below 0", 89, "0:0:k", kCdn, "k"},
        {"empty text", 89, "", kCdn, ""},
        {"no colon", 89, "30", kCdn, "30"},
        {"no second colon: second weight 0", 89, "30:key", kVphp, "key"},
        {"draw from 1 to 30 for 30:0", 19, "30:0:k", kCdn, "k"},
        {"first weight 0 never wins a draw", 19, "0:5:k", kVphp, "k"},
        {"weights read as decimal prefixes", 58, " 30x:70y:k", kCdn, "k"},
        {"negative sum: the remainder stays non-negative", 58, "-30:-70:k", kVphp, "k"},
        // Saturated weights, summed in 64 bits: the draw runs from 1 to 32768.
        {"weights beyond 32 bits", 80, "99999999999:99999999999:k", kCdn, "k"},
        {"lowest weights", 80, "-99999999999:-99999999999:k", kVphp, "k"},
    };
    for (const Case& c : cases) {
        FixedCalendarTime clock(c.clock);
        char endpoint[1024] = "x", safekey[1024] = "x";
        PickTudouEndpoint(c.ports.c_str(), endpoint, sizeof endpoint, safekey, sizeof safekey);
        EXPECT_EQ(endpoint, c.endpoint) << c.what;
        EXPECT_EQ(safekey, c.safekey) << c.what;
    }
}

TEST(PickTudouEndpoint, DrawsOnlyWhenTheSumIsNotZeroAndOverlongKeysAreCut)
{
    FixedCalendarTime clock(58);
    char endpoint[1024], safekey[1024];
    // No draw for a zero sum: the generator goes on where it was.
    SeedRandom(1);
    PickTudouEndpoint("0:0:k", endpoint, sizeof endpoint, safekey, sizeof safekey);
    EXPECT_EQ(NextRandom(), 41);
    // A draw seeds from the clock; later draws continue from there.
    PickTudouEndpoint("30:70:k", endpoint, sizeof endpoint, safekey, sizeof safekey);
    const int after = NextRandom();
    SeedRandom(58);
    NextRandom();
    EXPECT_EQ(after, NextRandom());

    const std::string key(3000, 'k');
    PickTudouEndpoint(("NULL:" + key).c_str(), endpoint, sizeof endpoint, safekey, sizeof safekey);
    EXPECT_EQ(std::string(safekey), std::string(1023, 'k'));
}

TEST(MakeTudouApiUrl, IidAndRefurlOfThePlayerAddress)
{
    const std::string api = std::string("http://") + cfg::TudouInterfaceHost1 + "/cdn/v2.php?noCatch=4290&id=";
    const std::string swf = "http://www.tudou.com/player/outside/player_outside.swf?";
    struct Case {
        const char* what;
        std::string target, query;  // query after "id="
    } cases[] = {
        {"both", swf + "iid=7&refurl=x&y=1", "7&refurl=x&y=1"},
        {"iid last", swf + "a=1&iid=7", "&refurl="},
        {"refurl first", swf + "refurl=http://a/b?c=1&iid=9&", "9&refurl=http://a/b?c=1&iid=9&"},
        {"neither", swf + "a=1", "&refurl="},
        {"iid without =", "http://x/iid/7.swf?refurl=r", "&refurl=r"},
        {"case-sensitive", swf + "IID=7&REFURL=r", "&refurl="},
        // The first "iid=" wins, also inside another key.
        {"inside another key", swf + "xiid=1&iid=2&", "1&refurl="},
        {"refurl cut at 511", swf + "iid=1&refurl=" + std::string(600, 'r'), "1&refurl=" + std::string(511, 'r')},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MakeTudouApiUrl(c.target), api + c.query) << c.what;
}

TEST_F(TudouTest, PageScriptEndpointAndReply)
{
    FixedCalendarTime clock(58);  // draws 29 of 1 to 100
    struct Case {
        const char* what;
        std::string url, ports, endpoint;
    } cases[] = {
        {"cdn drawn", kPage, "30:70", kCdn},
        {"v.php drawn", kPage, "29:71", kVphp},
        {"NULL", kPage, "", kVphp},
        // An HD page asks kili whatever the draw gave; the HD key is case-sensitive.
        {"HD page", std::string("http://") + cfg::TudouHdKey + "/program/1/", "29:71", kKili},
        {"HD key in capitals", "http://HD.TUDOU.COM/program/1/", "29:71", kVphp},
    };
    for (const Case& c : cases) {
        fakehttp::Reset();
        fakehttp::ServePage(kScriptUrl, Script(c.ports, "SK"));
        const std::string api = c.endpoint + "?id=42&noCatch=2573&safekey=SK";
        fakehttp::ServePage(api, Interface("Clip", F("http://f/a.flv") + F("http://f/b.flv")));
        EXPECT_EQ(Run(c.url, PageWith("var iid=42,x")),
                  "<title>Clip</title><flv>http://f/a.flv<|>http://f/b.flv<|></flv>")
            << c.what;
        ASSERT_EQ(fakehttp::Requests().size(), 2u) << c.what;
        EXPECT_EQ("http://" + fakehttp::Requests()[0].server + fakehttp::Requests()[0].path, kScriptUrl);
        EXPECT_EQ(LastRequest(), api) << c.what;
        for (const FakeRequest& r : fakehttp::Requests()) {
            EXPECT_TRUE(r.followRedirects) << c.what;
            EXPECT_EQ(r.headers.size(), 4u) << c.what;
        }
    }
}

TEST_F(TudouTest, WithoutAUsableScriptTheCdnEndpointIsAskedWithoutKey)
{
    struct Case {
        const char* what;
        std::string page;
        size_t requests;
    } cases[] = {
        {"no script", "var iid=42,", 1},
        {"script request fails", "var iid=42,<script>playerSetting={}</script><script src=\"http://gone/p.js\">"
                                 "</script>",
         2},
        {"relative script address", "var iid=42,<script>playerSetting={}</script><script src=\"/p.js\"></script>",
         2},
    };
    for (const Case& c : cases) {
        fakehttp::Reset();
        EXPECT_EQ(Run(kPage, c.page), "<title></title><flv></flv>") << c.what;
        EXPECT_EQ(fakehttp::Requests().size(), c.requests) << c.what;
        EXPECT_EQ(LastRequest(), kCdn + "?id=42&noCatch=2573&safekey=") << c.what;
    }
}

TEST_F(TudouTest, OverrideIsFetchedAsPassedAndThePageIsNotRead)
{
    const std::string api = MakeTudouApiUrl("http://www.tudou.com/p.swf?iid=7&refurl=r");
    fakehttp::ServePage(api, Interface("T", F("u")));
    EXPECT_EQ(Run(kPage, PageWith("var iid=1,"), api, true), "<title>T</title><flv>u<|></flv>");
    ASSERT_EQ(fakehttp::Requests().size(), 1u);
    EXPECT_EQ(LastRequest(), api);
}

TEST_F(TudouTest, ReplyItemsAndTitleAttributes)
{
    struct Case {
        const char* what;
        std::string reply, result;
    } cases[] = {
        {"two items", Interface("T", F("A") + F("B")), "<title>T</title><flv>A<|>B<|></flv>"},
        {"empty element ends the list", Interface("T", F("A") + "<f></f>" + F("C")), "<title>T</title><flv>A<|></flv>"},
        {"no <f", Interface("T", "<g>A</g>"), "<title>T</title><flv></flv>"},
        {"title attribute when q is missing", "<v title=\"Alt\">" + F("A") + "</v>", "<title>Alt</title><flv>A<|></flv>"},
        {"title attribute when q is empty", "<v q=\"\" title=\"Alt\">" + F("A") + "</v>",
         "<title>Alt</title><flv>A<|></flv>"},
        {"q before title", "<v title=\"Alt\" q=\"Q\">" + F("A") + "</v>", "<title>Q</title><flv>A<|></flv>"},
        {"failed request", "", "<title></title><flv></flv>"},
    };
    const std::string api = kVphp + "?id=1";
    for (const Case& c : cases) {
        fakehttp::Reset();
        if (!c.reply.empty())
            fakehttp::ServePage(api, c.reply);
        EXPECT_EQ(Run(kPage, "", api, true), c.result) << c.what;
    }
}

TEST_F(TudouTest, CharacterReferencesInTheTitle)
{
    const std::string zhong = "\xd6\xd0", wen = "\xce\xc4";  // U+4E2D, U+6587 in code page 936
    struct Case {
        const char* what;
        std::string title, decoded;
    } cases[] = {
        {"two references", "&#20013;&#25991;", zhong + wen},
        {"text around", "a &#20013; b", "a " + zhong + " b"},
        {"value 0 vanishes", "x&#0;y", "xy"},
        {"65536 vanishes", "x&#65536;y", "xy"},
        {"low 16 bits", "&#85549;", zhong},
        {"hexadecimal reads as 0", "&#x4e2d;z", "z"},
        {"no digits", "&#;z", "z"},
        {"unmappable", "&#57344;", "?"},
        // Up to 15 digits, read exactly in 64 bits before the low 16 bits are taken.
        {"fifteen digits", "&#100000000003629;", zhong},
        // A ";" further than 15 characters away: copied as it stands.
        {"sixteen digits", "&#1000000000036290;x", "&#1000000000036290;x"},
        {"far semicolon", "&#20013 and more text;", "&#20013 and more text;"},
        {"no ; after the &#", "a;b&#20013", "a;b&#20013"},
        {"& at the end", "a;b&", "a;b&"},
        // Without both "&#" and ";" nothing is decoded.
        {"no ;", "&#20013", "&#20013"},
        {"no &#", "a;b", "a;b"},
    };
    const std::string api = kVphp + "?id=1";
    for (const Case& c : cases) {
        fakehttp::Reset();
        fakehttp::ServePage(api, Interface(c.title, F("u")));
        EXPECT_EQ(Run(kPage, "", api, true), "<title>" + c.decoded + "</title><flv>u<|></flv>") << c.what;
    }
}

TEST_F(TudouTest, DecodingReadsTheFirst2049CharactersOfTheTitle)
{
    const std::string api = kVphp + "?id=1";
    const std::string longTitle = "&#20013;" + std::string(2992, 'a');  // 3000 characters
    fakehttp::ServePage(api, Interface(longTitle, F("u")));
    EXPECT_EQ(Run(kPage, "", api, true), "<title>\xd6\xd0" + std::string(2049 - 8, 'a') + "</title><flv>u<|></flv>");

    // A reference that begins at the last character read is decoded whole.
    fakehttp::Reset();
    fakehttp::ServePage(api, Interface(std::string(2048, 'b') + "&#20013;cc", F("u")));
    EXPECT_EQ(Run(kPage, "", api, true), "<title>" + std::string(2048, 'b') + "\xd6\xd0</title><flv>u<|></flv>");

    fakehttp::Reset();
    fakehttp::ServePage(api, Interface(std::string(3000, 'a'), F("u")));
    EXPECT_EQ(Run(kPage, "", api, true), "<title>" + std::string(3000, 'a') + "</title><flv>u<|></flv>");
}

TEST_F(TudouTest, PlayerAddressResolvesThroughTheDispatcher)
{
    const std::string url = "http://www.tudou.com/v/abc/v.swf";
    fakehttp::ServePage(url, "", "HTTP/1.1 302 Found",
                        "Location: http://js.tudou.com/player/outside.swf?iid=77&refurl=http://x/y&z=1\r\n");
    fakehttp::ServePage(MakeTudouApiUrl("iid=77&refurl=http://x/y&z=1"), Interface("P", F("http://f/1.flv")));
    std::vector<char> p(65536), h(10240), w(65536);
    std::string pageUrl = url, result;
    ResolveVideoPage(pageUrl, p.data(), 65536, h.data(), 10240, w.data(), 65536, result);
    EXPECT_EQ(result, "<title>P</title><flv>http://f/1.flv<|></flv>");
    EXPECT_EQ(fakehttp::RequestsFor(url).size(), 1u);
}
