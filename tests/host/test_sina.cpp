// Sina extractor: the vid from page and address, the play list's segments.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "config/hosts.h"
#include "extractors.h"
#include "fake_http.h"
#include "sina.h"

namespace {

const std::string kApi = std::string("http://") + cfg::SinaInterfaceHost + "/v_play.php?vid=";

std::string Durl(const std::string& url)
{
    return "<durl><order>1</order><length>1000</length><url><![CDATA[" + url + "]]></url></durl>";
}

std::string PlayList(const std::string& title, const std::string& durls)
{
    return "<?xml version=\"1.0\" encoding=\"GBK\"?><video><result>suc</result><timelength>3000</timelength>"
           "<vname><![CDATA[" + title + "]]></vname>" + durls + "</video>";
}

class SinaTest : public ::testing::Test {
protected:
    void SetUp() override { fakehttp::Reset(); }
    void TearDown() override { fakehttp::Reset(); }

    std::string Run(const std::string& url, const std::string& pageText, std::string result = "")
    {
        page.assign(1 << 16, '\0');
        headers.assign(10240, '\0');
        work.assign(1 << 16, 'w');
        std::copy(pageText.begin(), pageText.end(), page.begin());
        ExtractSina(url.c_str(), page.data(), static_cast<uint32_t>(page.size()), headers.data(),
                    static_cast<uint32_t>(headers.size()), work.data(), static_cast<uint32_t>(work.size()), result);
        return result;
    }

    std::vector<char> page, headers, work;
};

}  // namespace

TEST_F(SinaTest, VidSourcesInOrder)
{
    const std::string dir = "http://video.sina.com.cn/v/b/";
    struct Case {
        const char* name;
        std::string url, page;
        std::string vid;  // empty: no numeric vid, no request
    } cases[] = {
        // Page sources.
        {"addVariable cleaned", dir + "x.html", "so.addVariable(\"vid\", \"5566-01\");", "5566"},
        {"addVariable before video", dir + "x.html#9", "addVariable(\"vid\",\"11-\") video=\"22-\" play(\"33\")", "11"},
        {"video", dir + "x.html#9", "video=\"22-1\" play(\"33\")", "22"},
        {"play", dir + "x.html#9", "play(\"33\")", "33"},
        {"video not cleaned", dir + "x.html", "video=\" 22-\" play(\"33\")", "33"},
        // The address when the page gives no numeric vid; an early value that is not
        // all digits stays until a later source matches.
        {"after #", dir + "x.html#789", "addVariable(\"vid\",\"abc-\")", "789"},
        {"# with letters, last segment", dir + "4567-2.html#78a", "addVariable(\"vid\",\"abc-\")", "4567"},
        {"# with letters only", dir + "x.html#78a", "", ""},
        {"last segment", dir + "24680-1.html", "video=\"ab-\"", "24680"},
        {"last segment without -", dir + "24680.html", "", ""},
        {"- only before the last /", "http://video.sina.com.cn/v-1/b/x.html", "", ""},
        {"vid=", "http://video.sina.com.cn/p.php?vid=1357&x=1", "video=\"ab-\" play(\"cd\")", "1357"},
        {"vid= without &", "http://video.sina.com.cn/p.php?vid=1357", "", ""},
        {"letters only", "http://video.sina.com.cn/v", "video=\"ab-\"", ""},
        {"signed", dir + "x.html#-5", "", ""},
        {"nothing", "", "", ""},
    };
    for (const Case& c : cases) {
        fakehttp::Reset();
        fakehttp::ServePage(kApi + c.vid, PlayList("T", Durl("http://s/1.flv")));
        std::string result = Run(c.url, c.page, "kept");
        if (c.vid.empty()) {
            EXPECT_EQ(result, "kept") << c.name;
            EXPECT_TRUE(fakehttp::Requests().empty()) << c.name;
            continue;
        }
        EXPECT_EQ(result, "<title>T</title><flv>http://s/1.flv<&></flv>") << c.name;
        ASSERT_EQ(fakehttp::Requests().size(), 1u) << c.name;
        const FakeRequest& r = fakehttp::Requests()[0];
        EXPECT_EQ(r.verb, "GET") << c.name;
        EXPECT_EQ(r.server, cfg::SinaInterfaceHost) << c.name;
        EXPECT_EQ(r.port, 80) << c.name;
        EXPECT_EQ(r.path, "/v_play.php?vid=" + c.vid) << c.name;
        EXPECT_TRUE(r.followRedirects) << c.name;
        EXPECT_EQ(r.headers.size(), 4u) << c.name;
    }
}

TEST_F(SinaTest, PlayListSegments)
{
    struct Case {
        const char* name;
        std::string reply;
        std::string extraHeaders;
        std::string result;
    } cases[] = {
        {"three segments",
         PlayList("\xd6\xd0 1", Durl("http://s/1.flv") + Durl("http://s/2.flv") + Durl("http://s/3.flv")), "",
         "<title>\xd6\xd0 1</title><flv>http://s/1.flv<&>http://s/2.flv<&>http://s/3.flv<&></flv>"},
        {"segment without address", PlayList("T", "<durl><order>1</order></durl>" + Durl("http://s/2.flv")), "",
         "<title>T</title><flv><&>http://s/2.flv<&></flv>"},
        // The address element lies beyond the 4095 characters kept of its block.
        {"long block", PlayList("T", "<durl>" + std::string(5000, ' ') + "<url><![CDATA[http://s/1.flv]]></url></durl>" +
                                         Durl("http://s/2.flv")),
         "", "<title>T</title><flv><&>http://s/2.flv<&></flv>"},
        {"no durl", PlayList("T", ""), "", "<title>T</title><flv></flv>"},
        {"no title", "<video>" + Durl("u") + "</video>", "", "<title></title><flv>u<&></flv>"},
        {"utf-8 reply", PlayList("\xe4\xb8\xad", Durl("u")), "Content-Type: text/xml; charset=utf-8\r\n",
         "<title>\xd6\xd0</title><flv>u<&></flv>"},
    };
    for (const Case& c : cases) {
        fakehttp::Reset();
        fakehttp::ServePage(kApi + "42", c.reply, "HTTP/1.1 200 OK", c.extraHeaders);
        // The result text is replaced.
        EXPECT_EQ(Run("http://video.sina.com.cn/v/b/42-1.html", "", "old text"), c.result) << c.name;
    }
}

TEST_F(SinaTest, FailedRequestGivesTheEmptyBlock)
{
    EXPECT_EQ(Run("http://video.sina.com.cn/v/b/42-1.html", "", "old"), "<title></title><flv></flv>");
    EXPECT_EQ(fakehttp::Requests().size(), 1u);
}

TEST_F(SinaTest, PlayListReadingTakesAnyVideoIdAsItStands)
{
    // Yepig pages hand over ids that are not digits; they are asked as they stand.
    const std::string vid = "ab_1&x=2";
    fakehttp::ServePage(kApi + vid, PlayList("T", Durl("http://s/1.flv") + Durl("http://s/2.flv")));
    page.assign(1 << 16, 'p');
    headers.assign(10240, 'h');
    work.assign(1 << 16, 'w');
    std::string result = "old";
    ReadSinaPlayList(vid.c_str(), page.data(), static_cast<uint32_t>(page.size()), headers.data(),
                     static_cast<uint32_t>(headers.size()), work.data(), static_cast<uint32_t>(work.size()), result);
    EXPECT_EQ(result, "<title>T</title><flv>http://s/1.flv<&>http://s/2.flv<&></flv>");
    ASSERT_EQ(fakehttp::Requests().size(), 1u);
    EXPECT_EQ(fakehttp::Requests()[0].path, "/v_play.php?vid=" + vid);
    EXPECT_STREQ(headers.data(), "T");
}
