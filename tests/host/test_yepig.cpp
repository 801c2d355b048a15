// Yepig extractor: a Sina player named in the page's Flash object, or a Bokecc player.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/hosts.h"
#include "dispatch.h"
#include "extractor_run.h"
#include "extractors.h"
#include "fake_http.h"

namespace {

const std::string kSina = std::string("http://") + cfg::SinaInterfaceHost + "/v_play.php?vid=";
const std::string kBokecc = std::string("http://") + cfg::BokeccInterfaceHost + "/servlet/GetVideoStatus?videoID=";
const std::string kSinaPlayer = "http://vhead.blog.sina.com.cn/player/outer_player.swf?auto=1&vid=";
const std::string kSinaResult = "<title>S</title><flv>http://s/1.flv<&>http://s/2.flv<&></flv>";
const std::string kBokeccResult = "<title>B</title><flv>http://b/1.flv<|></flv>";

std::string PlayList()
{
    return "<video><vname><![CDATA[S]]></vname><durl><url><![CDATA[http://s/1.flv]]></url></durl>"
           "<durl><url><![CDATA[http://s/2.flv]]></url></durl></video>";
}

std::string Status()
{
    return "<video title=\"B\"><f flvPath=\"http://b/1.flv\"/></video>";
}

std::string FlashPage(const std::string& address)
{
    return "<script>var so = new SWFObject(\"" + address + "\", \"player\", \"480\", \"400\");</script>";
}

class YepigTest : public ExtractorTest {};

// The interface asked answers as Sina's or as Bokecc's.
void Check(ExtractorRun& run, const AskCase& c)
{
    const bool sina = c.asked.compare(0, kSina.size(), kSina) == 0;
    CheckAsk(run, ExtractYepig, c, sina ? PlayList() : Status());
}

}  // namespace

TEST_F(YepigTest, SinaRoad)
{
    const std::string url = "http://www.yepig.com/v/1.html?vid=99&";
    const AskCase cases[] = {
        // The vid runs to the end of the Flash object's address, parameters and all.
        {"vid with trailing parameters", url, FlashPage(kSinaPlayer + "123&uid=9&pid=1"), kSina + "123&uid=9&pid=1",
         kSinaResult},
        {"no digit test", url, FlashPage(kSinaPlayer + "ab_c"), kSina + "ab_c", kSinaResult},
        {"host in capitals", url, FlashPage("http://VHEAD.BLOG.SINA.COM.CN/p.swf?vid=5"), kSina + "5", kSinaResult},
        {"vid= empty", url, FlashPage(kSinaPlayer), "", "<title></title><flv></flv>"},
        {"no vid=", url, FlashPage("http://vhead.blog.sina.com.cn/p.swf?id=5"), "", "<title></title><flv></flv>"},
        // A player of another site gives nothing, though the address has a vid.
        {"another site's player", url, FlashPage("http://player.example.com/p.swf?vid=5"), "", "kept"},
        {"the Sina key only in the path", url, FlashPage("http://player.example.com/sina.com.cn/p.swf?vid=5"), "",
         "kept"},
        {"a relative player address", url, FlashPage("/player/p.swf?vid=5"), "", "kept"},
    };
    for (const AskCase& c : cases)
        Check(run, c);
}

TEST_F(YepigTest, BokeccRoad)
{
    const AskCase cases[] = {
        // The page address first, then the viewplay argument; the whole id is sent.
        {"vid of the page address", "http://www.yepig.com/p?vid=user_77&x=1", "<p>no flash</p>",
         kBokecc + "user_77", kBokeccResult},
        {"page address before viewplay", "http://www.yepig.com/p?vid=A1&",
         "viewplay(\"http://union.bokecc.com/p.swf?vid=B2&s=1\")", kBokecc + "A1", kBokeccResult},
        {"vid of the viewplay argument", "http://www.yepig.com/p/1.html",
         "<a onclick='viewplay(\"http://union.bokecc.com/p.swf?uid=1&vid=u_B2&s=1\")'>", kBokecc + "u_B2",
         kBokeccResult},
        // SWFObject("") names no player.
        {"empty Flash object", "http://www.yepig.com/p/1.html",
         "SWFObject(\"\", \"p\"); viewplay(\"p.swf?vid=C3&\")", kBokecc + "C3", kBokeccResult},
        {"page address vid last, no &", "http://www.yepig.com/p?vid=A1", "viewplay(\"p.swf?vid=C3&\")",
         kBokecc + "C3", kBokeccResult},
        {"viewplay vid last, no &", "http://www.yepig.com/p/1.html", "viewplay(\"p.swf?vid=C3\")", "",
         "<title></title><flv></flv>"},
        {"empty viewplay", "http://www.yepig.com/p/1.html", "viewplay(\"\")", "", "<title></title><flv></flv>"},
        {"nothing", "http://www.yepig.com/p/1.html", "", "", "<title></title><flv></flv>"},
    };
    for (const AskCase& c : cases)
        Check(run, c);
}

TEST_F(YepigTest, FailedRequests)
{
    // The Sina road gives the empty block, the Bokecc road the title part alone.
    EXPECT_EQ(run(ExtractYepig, "http://www.yepig.com/v", FlashPage(kSinaPlayer + "1"), "kept"),
              "<title></title><flv></flv>");
    EXPECT_EQ(run(ExtractYepig, "http://www.yepig.com/p?vid=1&", "", "kept"), "<title></title>");
    EXPECT_EQ(fakehttp::Requests().size(), 2u);
}

TEST_F(YepigTest, LongVideoIdsAreAskedWhole)
{
    // The Flash object is read into 511 characters, its vid runs to their end.
    const std::string player = kSinaPlayer + std::string(700, '1');
    const std::string sinaVid(511 - kSinaPlayer.size(), '1');
    fakehttp::ServePage(kSina + sinaVid, PlayList());
    EXPECT_EQ(run(ExtractYepig, "http://www.yepig.com/v", FlashPage(player)), kSinaResult);

    // A vid of the page address is read into 1279 characters.
    const std::string bokeccVid(1279, '2');
    fakehttp::ServePage(kBokecc + bokeccVid, Status());
    EXPECT_EQ(run(ExtractYepig, "http://www.yepig.com/p?vid=" + bokeccVid + "22&", ""), kBokeccResult);
    ASSERT_EQ(fakehttp::Requests().size(), 2u);
    EXPECT_EQ(fakehttp::Requests()[0].path, "/v_play.php?vid=" + sinaVid);
    EXPECT_EQ(fakehttp::Requests()[1].path, "/servlet/GetVideoStatus?videoID=" + bokeccVid);
}

TEST_F(YepigTest, BothDomainsReachTheYepigExtractor)
{
    for (const char* key : {cfg::YepigKey1, cfg::YepigKey2}) {
        fakehttp::Reset();
        const std::string url = std::string("http://www.") + key + "/v/1.html";
        fakehttp::ServePage(url, FlashPage(kSinaPlayer + "31"));
        fakehttp::ServePage(kSina + "31", PlayList());
        std::vector<char> page(1 << 16), headers(10240), work(1 << 16);
        std::string address = url, result;
        ResolveVideoPage(address, page.data(), static_cast<uint32_t>(page.size()), headers.data(), 10240,
                         work.data(), static_cast<uint32_t>(work.size()), result);
        EXPECT_EQ(result, kSinaResult) << key;
    }
}
