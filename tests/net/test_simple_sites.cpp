// YouTube, CCTV, Yahoo and Metacafe through the library's UTF-16 export, against the
// fixture web.
#include <string>
#include <vector>

#include "config/hosts.h"
#include "library.h"

namespace {

class SimpleSites : public LibraryTest {};

}  // namespace

TEST_F(SimpleSites, YouTubePageGivesItsGetVideoAddress)
{
    Lines r = UrlDirectlyW(L"http://www.youtube.com/watch?v=abc_12");
    EXPECT_EQ(r.lines, L"http://www.youtube.com/get_video?video_id=abc_12&t=tok-9\r\n");
    EXPECT_EQ(r.title, L"YouTube clip");
    // The page is fetched twice and nothing else is asked.
    EXPECT_EQ(FixtureRecord().size(), 2u);
}

TEST_F(SimpleSites, CctvPageGivesTheInterfacesAddressAndName)
{
    Lines r = UrlDirectlyW(L"http://www.cctv.com/video/1.html");
    EXPECT_EQ(r.lines, L"http://v.cctv.com/flv/1.flv\r\n");
    EXPECT_EQ(r.title, L"央视 clip");
    std::vector<RecordedRequest> api = FixtureRecordFor(cfg::CctvInterfaceHost);
    ASSERT_EQ(api.size(), 1u);
    EXPECT_EQ(api[0].requestLine, "GET /videodetail?id=C12345 HTTP/1.0");
}

TEST_F(SimpleSites, YahooPageGivesThePlayListsJoinedAddress)
{
    Lines r = UrlDirectlyW(L"http://www.yahoo.com/watch/1");
    EXPECT_EQ(r.lines, L"http://a.yahoo.com/v/1.flv?x=1&y=2\r\n");
    EXPECT_EQ(r.title, L"Tom & Jerry");
    std::vector<RecordedRequest> api = FixtureRecordFor(cfg::YahooPlayListHost);
    ASSERT_EQ(api.size(), 1u);
    EXPECT_EQ(api[0].requestLine, "GET /up/yep/process/getPlaylistFOP.php?node_id=987 HTTP/1.0");
}

TEST_F(SimpleSites, MetacafePageGivesItsMediaAddressWithTheKey)
{
    Lines r = UrlDirectlyW(L"http://www.metacafe.com/watch/1/");
    EXPECT_EQ(r.lines, L"http://v.mc.com/it/1.flv?__gda__=k_9\r\n");
    EXPECT_EQ(r.title, L"AC/DC live");
    EXPECT_EQ(FixtureRecord().size(), 2u);
}
