// qelagent end to end: started from a run folder with the real vennix.dll beside it, on the
// fixture web, with the stand-in browser control and the stand-in player. A Ku6 and a Sina
// page reach the player as the records the link handling sends.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "bench_files.h"
#include "boxwatch_client.h"
#include "expected_records.h"
#include "fixture_client.h"
#include "player_record.h"
#include "standin_client.h"
#include "win/agent_run.h"

TEST(AgentOnTheFixtureWeb, Ku6AndSinaPagesReachThePlayer)
{
    const struct {
        const wchar_t* url;  // the /url value
        std::vector<ExpectedRecord> records;
    } cases[] = {
        {L"http://www.ku6.com/show/abc.html", kAgentKu6Records},
        // The page address ends at its first "&".
        {L"http://www.ku6.com/show/abc.html&from=menu", kAgentKu6Records},
        {L"http://www.sina.com.cn/v/b/12345-1.html", kAgentSinaRecords},
    };
    AgentFolder folder;
    ASSERT_TRUE(folder.CreateWithRealResolver());
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.url));
        ASSERT_TRUE(FixtureReset());
        DeleteFileW(folder.Run().PlayerRecord().c_str());
        StandinPlayer player;
        ASSERT_TRUE(player.Start(folder.Run().Path() + L"qelplayer.exe"));
        AgentRun run(folder);
        BoxWatcher boxes;
        ASSERT_TRUE(run.Start(std::wstring(L"/url ") + c.url + L" /location http://www.ku6.com/ /info 片 名"));
        ASSERT_TRUE(boxes.Start(run.Pid(), {"ok"}, 4, 30000));
        // A document completes while the link is in hand: the window shows, the road goes on.
        HWND agent = run.WaitWindow();
        ASSERT_NE(agent, nullptr);
        // Once the dialog has put the control in its place.
        HWND browser = nullptr;
        wchar_t name[64] = {};
        for (int i = 0; i < 500 && std::wstring(name) != L"BrowserStandIn" && run.Running(); ++i) {
            Sleep(10);
            browser = GetDlgItem(agent, 1000);
            GetClassNameW(browser, name, 64);
        }
        EXPECT_STREQ(name, L"BrowserStandIn");
        SendStandInCommand(browser, L"DocumentComplete http://service.qelplayer.net/QEL_MESSAGE/welcome.html");
        ASSERT_TRUE(run.WaitExit(30000));
        EXPECT_EQ(run.ExitCode(), 0u);
        boxes.Wait(2000);
        EXPECT_TRUE(boxes.Reports().empty());
        ASSERT_TRUE(player.Close());

        // Half a second after the start at the earliest: the worker's timer.
        ExpectRecords(ReadPlayerRecord(folder.Run().PlayerRecord()), c.records,
                      TimeOf(run.Created()) + 500 * 10000ull);
        for (const RecordedRequest& request : FixtureRecordFor("www.ku6.com"))
            EXPECT_EQ(request.target, "/show/abc.html");
    }
    EXPECT_FALSE(FileExists(folder.Run().DecoyRecord()));
}
