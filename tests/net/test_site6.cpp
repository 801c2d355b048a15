// Site6 pages and player addresses through FLV_GetFlvUrlDirectlyW on the fixture web.
#include <gtest/gtest.h>
#include <windows.h>

#include <ctime>
#include <string>
#include <vector>

#include "config/hosts.h"
#include "direct_lines.h"
#include "site6_keys.h"

namespace {

class Site6Web : public SiteWeb {
protected:
    // Resolves the address and tells whether its one line is head followed by the key
    // query of one of the seconds that the call took.
    bool KeyedLine(const std::string& url, const std::wstring& head, DirectLines& r)
    {
        const int64_t from = static_cast<int64_t>(std::time(nullptr));
        r = resolve(url);
        const int64_t to = static_cast<int64_t>(std::time(nullptr));
        for (int64_t t = from; t <= to; ++t) {
            if (r.lines == head + Site6KeyQuery(t) + L"\r\n")
                return true;
        }
        return false;
    }
};

}  // namespace

TEST_F(Site6Web, PlayerAddressIsResolvedThroughItsInterfaceAndFileList)
{
    // The vdn43 file is left out and the dead one fails its probe: the live one stays,
    // its own query followed by the keys.
    DirectLines r;
    EXPECT_TRUE(KeyedLine("http://www.6.cn/p/player.swf?vid=abc", L"http://www.6.cn/live.flv?a=1", r)) << r.lines;
    EXPECT_EQ(r.title, L"六 clip");
    // The player address is probed once and not fetched again; its vid names the interface.
    std::vector<RecordedRequest> player = FixtureRecordFor("www.6.cn");
    ASSERT_GE(player.size(), 1u);
    EXPECT_EQ(player[0].requestLine, "GET /p/player.swf?vid=abc HTTP/1.0");
    size_t playerFetches = 0;
    for (const RecordedRequest& q : player)
        playerFetches += q.target == "/p/player.swf?vid=abc";
    EXPECT_EQ(playerFetches, 1u);
    EXPECT_EQ(TargetsFor(cfg::Site6InterfaceHost), (Targets{"/v72.php?vid=abc", "/files/abc.xml"}));
    EXPECT_EQ(FixtureRecordFor("vdn43.6.cn").size(), 0u);
}

TEST_F(Site6Web, PageNamesItsInterfaceByItsScriptVariables)
{
    DirectLines r;
    EXPECT_TRUE(KeyedLine("http://www.6.cn/watch/42.html", L"http://www.6.cn/live.flv", r)) << r.lines;
    EXPECT_EQ(r.title, L"page clip");
    EXPECT_EQ(TargetsFor(cfg::Site6InterfaceHost), Targets{"/v72.php?p=P9&k=K9"});
}

TEST_F(Site6Web, SecondKu6DomainPlayerReadsTheKu6InterfaceAsSite6AndGivesNothing)
{
    DirectLines r = resolve(std::string("http://www.") + cfg::Ku6SecondKey + "/p.swf");
    EXPECT_EQ(r.lines, L"");
    EXPECT_EQ(r.title, L"");
    EXPECT_EQ(TargetsFor(cfg::Ku6InterfaceHost), Targets{"/fetchVideo4Player/1/kv1.html"});
}
