// Youku through the library's UTF-16 export, against the fixture web: a video page and
// the player address that redirects to the player with the video's values.
#include <regex>
#include <string>
#include <vector>

#include "config/hosts.h"
#include "library.h"

namespace {

class Youku : public LibraryTest {};

const std::wstring kSegment = L"http://f.youku.com/player/getFlvPath/fileid/";

}  // namespace

TEST_F(Youku, PageGivesItsSegmentsAndTitle)
{
    Lines r = UrlDirectlyW(L"http://www.youku.com/v_show/id_XMTIz.html");
    EXPECT_EQ(r.lines, kSegment + L"0300000200AB&K=k26b1e4d72\r\n" + kSegment + L"0300000201AB&K=k26b1e4d72\r\n");
    EXPECT_EQ(r.title, L"优酷 clip");

    // The page's VideoIDS value is sent with its quotes.
    std::vector<RecordedRequest> api = FixtureRecordFor(cfg::YoukuPlayListHost);
    ASSERT_EQ(api.size(), 1u);
    EXPECT_EQ(api[0].target, "/player/getPlayList/VideoIDS/\"XMTIz\"/version/5/source/video/password/undefined/"
                             "Type/Folder/Fid/77/Pt/2?onData=%5Btype%20Function%5D&this2=%5Flevel0&n=3");
    EXPECT_EQ(api[0].Header("Accept-Encoding"), "gzip,deflate");
    // Both segments were probed.
    EXPECT_EQ(FixtureRecordFor(cfg::YoukuFileHost).size(), 2u);
}

TEST_F(Youku, PlayerAddressAsksThePlayListOfItsRedirectTarget)
{
    Lines r = UrlDirectlyW(L"http://www.youku.com/player.php/sid/XMjQ1/v.swf");
    EXPECT_EQ(r.lines, kSegment + L"0100000100CD&K=6b1e4d72\r\n");
    EXPECT_EQ(r.title, L"player clip");

    // Probed once, not fetched again; the play list carries a drawn "ran" value.
    std::vector<RecordedRequest> page = FixtureRecordFor("www.youku.com");
    ASSERT_EQ(page.size(), 1u);
    std::vector<RecordedRequest> api = FixtureRecordFor(cfg::YoukuPlayListHost);
    ASSERT_EQ(api.size(), 1u);
    std::smatch m;
    ASSERT_TRUE(std::regex_match(api[0].target, m,
                                 std::regex("/player/getPlayList/VideoIDS/XMjQ1/version/5/source/video/password/"
                                            "\\?ran=([0-9]+)&n=3")))
        << api[0].target;
    EXPECT_LE(std::stoi(m[1].str()), 9998);
    // A single alternative is not probed.
    EXPECT_EQ(FixtureRecordFor(cfg::YoukuFileHost).size(), 0u);
}
