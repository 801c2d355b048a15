// Site56 player redirects and pages through FLV_GetFlvUrlDirectlyW on the fixture web.
#include <gtest/gtest.h>

#include <string>

#include "config/hosts.h"
#include "direct_lines.h"

namespace {

class Site56Web : public SiteWeb {};

}  // namespace

TEST_F(Site56Web, PlayerRedirectIsResolvedOnTheRebuiltPageAddress)
{
    DirectLines r = resolve("http://www.56.com/n.swf");
    EXPECT_EQ(r.lines, Wide(std::string("http://") + cfg::Site56FileHost1 + "/f3.h2/flvdownload/p2/s2/u2@" +
                            cfg::Site56FileDomain + "_56flv_id2.flv\r\n"));
    EXPECT_EQ(r.title, L"我的 clip");
    // The player address is probed once; the rebuilt address is fetched in its place.
    EXPECT_EQ(TargetsFor(cfg::Site56PageHost), (Targets{"/n.swf", "/l43/v_MTAwMA=.html"}));
}

TEST_F(Site56Web, PlayObjectPageNamesTheSecondFileHost)
{
    DirectLines r = resolve("http://www.56.com/u11/v_third.html");
    EXPECT_EQ(r.lines, Wide(std::string("http://") + cfg::Site56FileHost2 + "/f1_K3.h3/flvdownload/p3/s3/u3@" +
                            cfg::Site56FileDomain + "_56flv_id3.flv\r\n"));
    EXPECT_EQ(r.title, L"third clip");
}
