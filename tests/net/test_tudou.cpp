// Tudou through the library's UTF-16 export, against the fixture web: a video page with
// its player script, an HD page, and the player address that redirects with the item.
#include <string>
#include <vector>

#include "config/hosts.h"
#include "library.h"

namespace {

class Tudou : public LibraryTest {};

}  // namespace

TEST_F(Tudou, PageScriptWeightsAndInterfaceGiveTheFirstLiveAlternative)
{
    Lines r = UrlDirectlyW(L"http://www.tudou.com/programs/view/abc/");
    EXPECT_EQ(r.lines, L"http://f.tudou.com/b.flv\r\n");
    EXPECT_EQ(r.title, L"土豆 clip");

    std::vector<RecordedRequest> page = FixtureRecordFor("www.tudou.com");
    ASSERT_EQ(page.size(), 3u);  // the probe, the page, the player script
    EXPECT_EQ(page[2].target, "/js/player.js");
    // The weights 0 and 5 draw 1 to 5, never below 0: the v.php endpoint.
    std::vector<RecordedRequest> api = FixtureRecordFor(cfg::TudouInterfaceHost1);
    ASSERT_EQ(api.size(), 1u);
    EXPECT_EQ(api[0].target, "/cdn/v.php?id=4242&noCatch=2573&safekey=SK1");
    EXPECT_EQ(FixtureRecordFor("f.tudou.com").size(), 2u);
}

TEST_F(Tudou, HdPageAsksTheKiliEndpoint)
{
    Lines r = UrlDirectlyW(L"http://hd.tudou.com/program/9/");
    EXPECT_EQ(r.lines, L"http://f.tudou.com/hd.flv\r\n");
    EXPECT_EQ(r.title, L"HD");
    std::vector<RecordedRequest> api = FixtureRecordFor(cfg::TudouInterfaceHost2);
    ASSERT_EQ(api.size(), 1u);
    EXPECT_EQ(api[0].target, "/v2/kili?id=99&noCatch=2573&safekey=");
}

TEST_F(Tudou, PlayerAddressAsksTheInterfaceOfItsRedirectTarget)
{
    Lines r = UrlDirectlyW(L"http://www.tudou.com/v/abc/v.swf");
    EXPECT_EQ(r.lines, L"http://f.tudou.com/p.flv\r\n");
    EXPECT_EQ(r.title, L"player");
    std::vector<RecordedRequest> page = FixtureRecordFor("www.tudou.com");
    ASSERT_EQ(page.size(), 1u);
    EXPECT_EQ(page[0].target, "/v/abc/v.swf");
    std::vector<RecordedRequest> api = FixtureRecordFor(cfg::TudouInterfaceHost1);
    ASSERT_EQ(api.size(), 1u);
    EXPECT_EQ(api[0].target, "/cdn/v2.php?noCatch=4290&id=4243&refurl=http://www.tudou.com/x&autostart=1");
}
