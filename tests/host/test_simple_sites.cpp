// YouTube, CCTV, Yahoo and Metacafe extractors: their values, their one request where
// they make one, and their text passes.
#include <string>

#include "config/hosts.h"
#include "extractor_test.h"
#include "extractors.h"

namespace {

// Runs an extractor on a page of its site.
class SimpleSites : public ExtractorTest {
protected:
    std::string Run(const Extractor& e, const std::string& pageText, std::string result = "old")
    {
        return ExtractorTest::Run(e, "http://www.example.com/watch?v=1", pageText, result);
    }
};

const Extractor kYouTube = WithBuffers(ExtractYouTube);
const Extractor kCctv = WithBuffers(ExtractCctv);
const Extractor kYahoo = WithAddress(ExtractYahoo);
const Extractor kMetacafe = WithAddress(ExtractMetacafe);

std::string Titled(const std::string& title, const std::string& body)
{
    return "<html><head><title>" + title + "</title></head><body>" + body + "</body></html>";
}

}  // namespace

TEST_F(SimpleSites, YouTubePlayerArguments)
{
    const std::string get = std::string("http://") + cfg::YouTubePageHost + "/get_video?video_id=";
    struct Case {
        const char* name;
        std::string page, flv;
    } cases[] = {
        {"both values", "var swfArgs = {\"video_id\": \"abc_12\", \"l\": 3, \"t\": \"tok-9\"};",
         "<flv>" + get + "abc_12&t=tok-9<|></flv>"},
        {"no t value", "swfArgs = {\"video_id\": \"abc\"}", "<flv>" + get + "abc&t=<|></flv>"},
        {"cut values", "swfArgs = {\"video_id\": \"" + std::string(1500, 'v') + "\", \"t\": \"" +
                           std::string(200, 't') + "\"}",
         "<flv>" + get + std::string(1279, 'v') + "&t=" + std::string(127, 't') + "<|></flv>"},
        // Without a video id the address names no video: an empty list.
        {"no video id", "swfArgs = {\"t\": \"tok\"}", "<flv></flv>"},
        {"no arguments", "<embed src=\"p.swf\">", "<flv></flv>"},
        {"values after the block's end", "swfArgs = {\"l\": 1} \"video_id\": \"abc\", \"t\": \"x\"", "<flv></flv>"},
        {"arguments without an end", "swfArgs = {\"video_id\": \"abc\", \"t\": \"x\"", "<flv></flv>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run(kYouTube, Titled("YouTube clip", c.page)), "<title>YouTube clip</title>" + c.flv) << c.name;
        EXPECT_TRUE(fakehttp::Requests().empty()) << c.name;
    }
}

TEST_F(SimpleSites, CctvVideoDetail)
{
    const std::string api = std::string("http://") + cfg::CctvInterfaceHost + "/videodetail?id=";
    const std::string page = Titled("Page title", "<script>so.addVariable(\"VideoID\", \"C12345\");</script>");
    struct Case {
        const char* name;
        bool served;
        std::string reply, result;
    } cases[] = {
        // The interface's name is the title, the page's is not used.
        {"url and name", true, "<video name=\"CCTV clip\" url=\"http://v.cctv.com/flv/1.flv\" />",
         "<title>CCTV clip</title><flv>http://v.cctv.com/flv/1.flv<|></flv>"},
        {"no name", true, "<video url=\"http://v.cctv.com/flv/1.flv\" />",
         "<title></title><flv>http://v.cctv.com/flv/1.flv<|></flv>"},
        // No address: an empty list.
        {"no url", true, "<video name=\"CCTV clip\" />", "<title>CCTV clip</title><flv></flv>"},
        {"failed request", false, "", "<title></title><flv></flv>"},
    };
    for (const Case& c : cases) {
        fakehttp::Reset();
        if (c.served)
            fakehttp::ServePage(api + "C12345", c.reply);
        EXPECT_EQ(Run(kCctv, page), c.result) << c.name;
        ExpectOneGet(cfg::CctvInterfaceHost, "/videodetail?id=C12345", c.name);
    }
}

TEST_F(SimpleSites, CctvVideoId)
{
    struct Case {
        const char* name;
        std::string call, id;  // empty id: no request, the result untouched
    } cases[] = {
        {"quoted second argument", "so.addVariable(\"VideoID\", \"C12345\");", "C12345"},
        {"blanks, quotes, commas and parentheses go", "addVariable(\"VideoID\" ,  \" C1,2)3 \" ) ;", "C123"},
        {"up to the first semicolon", "addVariable(\"VideoID\",\"ab;cd\");", "ab"},
        {"only separators", "addVariable(\"VideoID\", \" , \"));", ""},
        {"no semicolon", "addVariable(\"VideoID\", \"C1\")", ""},
        {"other variable", "addVariable(\"videoid\", \"C1\");", ""},
    };
    for (const Case& c : cases) {
        fakehttp::Reset();
        std::string result = Run(kCctv, Titled("T", c.call), "kept");
        if (c.id.empty()) {
            EXPECT_EQ(result, "kept") << c.name;
            EXPECT_TRUE(fakehttp::Requests().empty()) << c.name;
        } else {
            ExpectOneGet(cfg::CctvInterfaceHost, "/videodetail?id=" + c.id, c.name);
        }
    }
}

TEST_F(SimpleSites, YahooPlayList)
{
    const std::string api =
        std::string("http://") + cfg::YahooPlayListHost + "/up/yep/process/getPlaylistFOP.php?node_id=";
    const std::string page = Titled("Yahoo clip", "<script>var v = {\"clipID\":\"987\"};</script>");
    struct Case {
        const char* name;
        bool served;
        std::string reply, result;
    } cases[] = {
        {"APP and FULLPATH", true, "<STREAM APP=\"http://a.yahoo.com/\" FULLPATH=\"v/1.flv?x=1&amp;y=2\"/>",
         "<title>Yahoo clip</title><flv>http://a.yahoo.com/v/1.flv?x=1&y=2<|></flv>"},
        // The search starts again from the beginning after each removal.
        {"ampersand escaped twice", true, "<STREAM APP=\"http://a/\" FULLPATH=\"b?x=1&amp;amp;y=2\"/>",
         "<title>Yahoo clip</title><flv>http://a/b?x=1&y=2<|></flv>"},
        {"APP only", true, "<STREAM APP=\"http://a/b.flv\"/>", "<title>Yahoo clip</title><flv>http://a/b.flv<|></flv>"},
        {"FULLPATH only", true, "<STREAM FULLPATH=\"b.flv\"/>", "<title>Yahoo clip</title><flv>b.flv<|></flv>"},
        // Nothing to join: an empty list.
        {"neither", true, "<STREAM/>", "<title>Yahoo clip</title><flv></flv>"},
        {"nothing but escapes", true, "<STREAM APP=\"amp;\" FULLPATH=\"amamp;p;\"/>",
         "<title>Yahoo clip</title><flv></flv>"},
        {"failed request", false, "", "<title>Yahoo clip</title><flv></flv>"},
    };
    for (const Case& c : cases) {
        fakehttp::Reset();
        if (c.served)
            fakehttp::ServePage(api + "987", c.reply);
        EXPECT_EQ(Run(kYahoo, page), c.result) << c.name;
        ExpectOneGet(cfg::YahooPlayListHost, "/up/yep/process/getPlaylistFOP.php?node_id=987", c.name);
    }
}

TEST_F(SimpleSites, YahooClipIdAndTitle)
{
    struct Case {
        const char* name;
        std::string page, clip, title;
    } cases[] = {
        {"clipID before id", Titled("T", "{\"id\", \"111\"} {\"clipID\":\"222\"}"), "222", "T"},
        {"id when clipID is empty", Titled("T", "{\"clipID\":\"\"} {\"id\", \"111\"}"), "111", "T"},
        {"neither: asked with an empty id", Titled("T", ""), "", "T"},
        // The removal runs over the whole text, the title's escapes become plain too.
        {"escaped title", Titled("Tom &amp;amp; Jerry", "{\"clipID\":\"1\"}"), "1", "Tom & Jerry"},
    };
    for (const Case& c : cases) {
        fakehttp::Reset();
        fakehttp::ServePage(std::string("http://") + cfg::YahooPlayListHost +
                                "/up/yep/process/getPlaylistFOP.php?node_id=" + c.clip,
                            "APP=\"http://a/\" FULLPATH=\"b\"");
        EXPECT_EQ(Run(kYahoo, c.page), "<title>" + c.title + "</title><flv>http://a/b<|></flv>") << c.name;
        EXPECT_EQ(fakehttp::Requests().size(), 1u) << c.name;
    }
}

TEST_F(SimpleSites, MetacafeMediaAddress)
{
    struct Case {
        const char* name;
        std::string page, result;
    } cases[] = {
        // Escaped slashes become plain in the whole text, the title's too.
        {"address and key",
         Titled("AC\\/DC live", "{\"mediaURL\":\"http:\\/\\/v.mc.com\\/it\\/1.flv\",\"gdaKey\":\"k_9\"}"),
         "<title>AC/DC live</title><flv>http://v.mc.com/it/1.flv?__gda__=k_9<|></flv>"},
        {"no key", Titled("T", "{\"mediaURL\":\"http:\\/\\/v\\/1.flv\"}"), "<title>T</title><flv>http://v/1.flv?__gda__=<|></flv>"},
        {"slash escaped twice", Titled("T", "{\"mediaURL\":\"a\\\\/1.flv\",\"gdaKey\":\"k\"}"),
         "<title>T</title><flv>a/1.flv?__gda__=k<|></flv>"},
        // No .flv: the title part alone, its escapes left in place.
        {"not an flv file", Titled("AC\\/DC", "{\"mediaURL\":\"http:\\/\\/v\\/1.mp4\",\"gdaKey\":\"k\"}"),
         "<title>AC\\/DC</title>"},
        {"no media address", Titled("T", "{\"gdaKey\":\"k\"}"), "<title>T</title>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run(kMetacafe, c.page), c.result) << c.name;
        EXPECT_TRUE(fakehttp::Requests().empty()) << c.name;
    }
}
