// Pomoho player addresses through FLV_GetFlvUrlDirectlyW on the fixture web.
#include <gtest/gtest.h>

#include <string>

#include "config/hosts.h"
#include "direct_lines.h"

namespace {

class PomohoWeb : public SiteWeb {};

}  // namespace

TEST_F(PomohoWeb, PlayerAddressGivesTheFileOnTheReplyHost)
{
    DirectLines r = resolve("http://www.pomoho.com/player.swf?flvid=777&from=1");
    EXPECT_EQ(r.lines, L"http://v1.pomoho.com/pomoho_video/abc777.flv\r\n");
    EXPECT_EQ(r.title, L"pomoho clip");
    EXPECT_EQ(TargetsFor(cfg::PomohoInterfaceHost), Targets{"/getvideourl.aspx?isdeepvoice=1&flvid=777&from=1"});
}

TEST_F(PomohoWeb, PageAddressGivesNothing)
{
    DirectLines r = resolve("http://www.pomoho.com/v/777.html");
    EXPECT_EQ(r.lines, L"");
    EXPECT_EQ(r.title, L"");
    EXPECT_EQ(FixtureRecordFor(cfg::PomohoInterfaceHost).size(), 0u);
}
