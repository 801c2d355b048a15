// The browser host and qelagent with the system's own web browser control (no stand-in),
// inside the private network: it activates in place, applies put positions through the
// host, reports BeforeNavigate2 and honours Cancel; it never completes a document here,
// and the agent, with the real vennix.dll, hands its link to the player all the same.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "win/agent_run.h"
#include "bench_files.h"
#include "browser_host.h"
#include "dialog.h"
#include "win/ole_thread.h"
#include "expected_records.h"
#include "fixture_client.h"
#include "player_record.h"
#include "win/test_dialogs.h"

namespace event = winui::browser_event;

namespace {


const wchar_t kWelcome[] = L"http://service.qelplayer.net/QEL_MESSAGE/welcome.html";

class RealBrowserDialog : public winui::Dialog {
public:
    RealBrowserDialog() : Dialog(IDD_TEST_BROWSER) {}
    BOOL OnInitDialog() override
    {
        created = browser.Create(*this, IDC_TEST_BROWSER_A);
        if (!created) {
            EndDialog(IDABORT);
            return TRUE;
        }
        window = browser.Handle();
        GetClassNameW(window, className, 64);
        id = GetDlgCtrlID(window);
        putResults = {browser.PutTop(10), browser.PutLeft(20), browser.PutWidth(200), browser.PutHeight(100)};
        GetWindowRect(window, &placed);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&placed), 2);
        browser.Move(0, 0, 0, 0);
        GetWindowRect(window, &moved);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&moved), 2);
        cancel = true;
        navigateCancelled = browser.Navigate(L"zflv://play/src=http://v.ku6.com/show/a.html");
        cancel = false;
        navigateWelcome = browser.Navigate(kWelcome);
        SetTimer(1, 1500);  // time for any later event to come
        return TRUE;
    }
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TIMER) {
            EndDialog(IDOK);
            return 0;
        }
        return Dialog::OnMessage(message, wParam, lParam);
    }
    void OnBrowserEvent(int controlId, DISPID dispid, winui::BrowserEventArgs& args) override
    {
        events.push_back(dispid);
        if (dispid == event::BeforeNavigate2) {
            urls.push_back(args.Url());
            args.SetCancel(cancel);
        }
        ids.push_back(controlId);
    }

    winui::BrowserHost browser;
    bool created = false, cancel = false;
    HWND window = nullptr;
    wchar_t className[64] = {};
    int id = 0;
    std::vector<HRESULT> putResults;
    HRESULT navigateCancelled = E_FAIL, navigateWelcome = E_FAIL;
    RECT placed = {}, moved = {};
    std::vector<DISPID> events;
    std::vector<int> ids;
    std::vector<std::wstring> urls;
};

TEST(RealBrowser, HostDrivesTheSystemsControl)
{
    RealBrowserDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ASSERT_TRUE(dialog.created);
    EXPECT_NE(dialog.window, nullptr);
    EXPECT_EQ(dialog.id, IDC_TEST_BROWSER_A);
    EXPECT_STREQ(dialog.className, L"Shell Embedding");
    EXPECT_EQ(dialog.putResults, (std::vector<HRESULT>{S_OK, S_OK, S_OK, S_OK}));
    const RECT placed = {20, 10, 220, 110}, zero = {0, 0, 0, 0};
    EXPECT_TRUE(EqualRect(&dialog.placed, &placed));
    EXPECT_TRUE(EqualRect(&dialog.moved, &zero));
    EXPECT_EQ(dialog.navigateCancelled, S_OK);
    EXPECT_EQ(dialog.navigateWelcome, S_OK);
    ASSERT_GE(dialog.urls.size(), 2u);
    EXPECT_EQ(dialog.urls[0], L"zflv://play/src=http://v.ku6.com/show/a.html");
    EXPECT_EQ(dialog.urls[1], kWelcome);
    for (int id : dialog.ids)
        EXPECT_EQ(id, IDC_TEST_BROWSER_A);
    for (DISPID d : dialog.events)
        EXPECT_NE(d, event::DocumentComplete);  // no document ever completes here
}

// No document completes: the window stays at zero size, and the link is handed over all the
// same: a Ku6 page resolved by the real vennix.dll reaches the stand-in player.
TEST(RealBrowser, AgentHandsTheLinkOverWithoutADocument)
{
    ASSERT_TRUE(FixtureReset());
    AgentFolder folder;
    ASSERT_TRUE(folder.CreateWithRealResolver());
    StandinPlayer player;
    ASSERT_TRUE(player.Start(folder.Run().Path() + L"qelplayer.exe", L"--hold \"" + folder.Run().Parent() + L"go\""));
    AgentRun run(folder);
    ASSERT_TRUE(run.Start(L"/url http://www.ku6.com/show/abc.html /location http://p/ /info T"));
    HWND agent = run.WaitWindow();
    ASSERT_NE(agent, nullptr);
    // The player holds the agent in its send: the window is there, still at zero size.
    ASSERT_TRUE(WaitForRecord(folder.Run().PlayerRecord(), 1, false));
    RECT r;
    GetWindowRect(agent, &r);
    EXPECT_EQ(r.right - r.left, 0);
    EXPECT_EQ(r.bottom - r.top, 0);
    wchar_t name[64] = {};
    GetClassNameW(GetDlgItem(agent, 1000), name, 64);
    EXPECT_STREQ(name, L"Shell Embedding");
    ASSERT_TRUE(WriteWholeFile(folder.Run().Parent() + L"go", ""));
    ASSERT_TRUE(run.WaitExit(15000));
    EXPECT_EQ(run.ExitCode(), 0u);
    ASSERT_TRUE(player.Close());
    ExpectRecords(ReadPlayerRecord(folder.Run().PlayerRecord()),
                  {{kLinkPlay, L"http://f.ku6.com/b.flv", L"中文 clip", 1}}, TimeOf(run.Created()) + 500 * 10000ull);
    bool fetched = false;  // navigated, hidden, to the welcome page on the service host
    for (const auto& request : FixtureRecordFor("service.qelplayer.net"))
        fetched = fetched || request.requestLine == "GET /QEL_MESSAGE/welcome.html HTTP/1.1";
    EXPECT_TRUE(fetched);
}

}  // namespace
