// Yepig pages on their Sina and Bokecc roads through FLV_GetFlvUrlDirectlyW on the
// fixture web.
#include <gtest/gtest.h>

#include <string>

#include "config/hosts.h"
#include "direct_lines.h"

namespace {

class YepigWeb : public SiteWeb {};

}  // namespace

TEST_F(YepigWeb, SinaPlayerGivesTheSinaSegments)
{
    DirectLines r = resolve("http://www.yepig.com/v/1.html");
    EXPECT_EQ(r.lines, L"http://f.sina.com.cn/y1.flv\r\nhttp://f.sina.com.cn/y2.flv\r\n");
    EXPECT_EQ(r.title, L"小猪 clip");
    // The vid keeps the parameters after it.
    EXPECT_EQ(TargetsFor(cfg::SinaInterfaceHost), Targets{"/v_play.php?vid=555&uid=7"});
}

TEST_F(YepigWeb, PageWithoutFlashObjectAsksBokeccWithTheViewplayVid)
{
    DirectLines r = resolve("http://www.yepig.net/play?x=1");
    // Each path is a list of its own; the first list counts.
    EXPECT_EQ(r.lines, L"http://f.bokecc.com/88a.flv\r\n");
    EXPECT_EQ(r.title, L"bokecc clip");
    EXPECT_EQ(TargetsFor(cfg::BokeccInterfaceHost), Targets{"/servlet/GetVideoStatus?videoID=u_88"});
}
