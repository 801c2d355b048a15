// Mofile through the library's UTF-16 export, against the fixture web: the play
// interface's record becomes the download address with its shifted value.
#include <string>
#include <vector>

#include "config/hosts.h"
#include "library.h"

namespace {

class Mofile : public LibraryTest {};

}  // namespace

TEST_F(Mofile, PageGivesTheDownloadAddressOfItsFileRecord)
{
    Lines r = UrlDirectlyW(L"http://www.mofile.com/show/AB12.html");
    EXPECT_EQ(r.lines, L"http://dl.mofile.com/f?p=10wKw9330wuQ8kwAQK3491hnuj93304931&down=cn1\r\n");
    EXPECT_EQ(r.title, L"魔否 clip");
    std::vector<RecordedRequest> play = FixtureRecordFor(cfg::MofilePlayHost);
    ASSERT_EQ(play.size(), 1u);
    EXPECT_EQ(play[0].requestLine, "GET /cn/videoplay/play.do?v=AB12 HTTP/1.0");
    EXPECT_EQ(play[0].Header("Accept-Language"), "zh-cn,zh;q=0.5");
}
