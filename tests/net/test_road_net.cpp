// The link road end to end: a Ku6 play link in the portal of the tests' main dialog, the
// wait dialog's page completed, the real vennix.dll beside it resolving the page on the
// fixture web, and the record at the stand-in player.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "expected_records.h"
#include "fixture_client.h"
#include "player_record.h"
#include "win/agent_run.h"
#include "win/road_run.h"

TEST(RoadOnTheFixtureWeb, Ku6PlayLinkInThePortalReachesThePlayer)
{
    AgentFolder folder;
    ASSERT_TRUE(folder.CreateWithRealResolver());
    ASSERT_TRUE(FixtureReset());
    StandinPlayer player;
    ASSERT_TRUE(player.Start(folder.Run().Path() + L"qelplayer.exe"));
    RoadRun road(folder.Run());
    ASSERT_TRUE(road.Start());
    const std::wstring link = L"zflv://play/src=http://www.ku6.com/show/abc.html";
    ASSERT_TRUE(road.Navigate(link));
    HWND wait = road.WaitDialog();
    ASSERT_NE(wait, nullptr);
    ASSERT_TRUE(road.CompleteWaitPage(wait));
    EXPECT_EQ(road.WaitCancel(link, 30000), "-1");
    EXPECT_TRUE(road.WaitDialogGone(wait));
    ExpectRecords(ReadPlayerRecord(folder.Run().PlayerRecord()),
                  {{kLinkPlay, L"http://f.ku6.com/b.flv", L"中文 clip", 1}});
    for (const RecordedRequest& request : FixtureRecordFor("www.ku6.com"))
        EXPECT_EQ(request.target, "/show/abc.html");
    EXPECT_TRUE(road.Boxes().empty());
    ASSERT_TRUE(player.Close());
}
