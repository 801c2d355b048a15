// Bokecc pages through FLV_GetFlvUrlDirectlyW on the fixture web.
#include <gtest/gtest.h>

#include <string>

#include "config/hosts.h"
#include "direct_lines.h"

namespace {

class BokeccWeb : public SiteWeb {};

}  // namespace

TEST_F(BokeccWeb, StatusInterfaceGivesTheFirstFlvPath)
{
    DirectLines r = resolve("http://www.bokecc.com/play?videoID=user_42&x=1");
    EXPECT_EQ(r.lines, L"http://f.bokecc.com/42a.flv\r\n");
    EXPECT_EQ(r.title, L"播客 clip");
    EXPECT_EQ(TargetsFor(cfg::BokeccInterfaceHost), Targets{"/servlet/GetVideoStatus?videoID=42"});
}

TEST_F(BokeccWeb, VideoIdLastGivesNothingAndAsksNothing)
{
    DirectLines r = resolve("http://www.bokecc.com/play?videoID=user_42");
    EXPECT_EQ(r.lines, L"");
    EXPECT_EQ(r.title, L"");
    EXPECT_EQ(FixtureRecordFor(cfg::BokeccInterfaceHost).size(), 0u);
}
