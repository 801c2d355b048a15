// The link road as pelorama runs it, under Wine: a main dialog's portal (the stand-in
// browser control) navigates, the wait dialog shows the loading page, its DocumentComplete
// starts the workers, the stand-in resolver and the stand-in player take part, and boxwatch
// answers every box.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "agent_run.h"
#include "bench_files.h"
#include "player_record.h"
#include "road_run.h"
#include "standin_tray.h"
#include "tray_menu.h"

namespace {

const uint64_t kPlay = 0xC179F3D9u, kAdd = 0xC179F3DAu;
const wchar_t kMissingText[] = L"未找到播放器,请先打开播放器";
const wchar_t kGoneText[] = L"URL链接已失效";

// A run folder with the stand-in resolver (its calls logged, optionally held) and the
// stand-in player running; the host started from it.
class Road : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.Create(AgentFolder::OneStream()));
        ASSERT_TRUE(player.Start(folder.Run().Path() + L"qelplayer.exe"));
    }
    void TearDown() override
    {
        folder.Release();
        EndRecordedPlayers(ReadPlayerRecord(folder.Run().PlayerRecord()));
    }
    PlayerRecord Records() { return ReadPlayerRecord(folder.Run().PlayerRecord()); }
    // With every resolution held: navigates to link, completes the wait page (twice when
    // asked) and waits until the resolver holds the first page; returns the wait dialog.
    HWND HoldLink(RoadRun& road, const std::wstring& link, int completes = 1)
    {
        HWND wait = nullptr;
        if (folder.SetResolverBlocks(folder.HoldBlocks()) && road.Start() && road.Navigate(link))
            wait = road.WaitDialog();
        for (int i = 0; wait && i < completes; ++i)
            road.CompleteWaitPage(wait);
        return wait && folder.WaitResolverCalls(1) ? wait : nullptr;
    }
    bool WaitRecords(size_t n) { return WaitForRecord(folder.Run().PlayerRecord(), n, false); }

    AgentFolder folder;
    StandinPlayer player;
};

// The CPU time a window's thread has used so far, in seconds (GetProcessTimes of another
// process reads 0 under Wine; its thread's times are real).
double ThreadCpuSeconds(HWND window)
{
    HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, GetWindowThreadProcessId(window, nullptr));
    FILETIME created, exited, kernel = {}, user = {};
    if (!thread)
        return -1;
    GetThreadTimes(thread, &created, &exited, &kernel, &user);
    CloseHandle(thread);
    auto seconds = [](const FILETIME& t) {
        return ((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

std::vector<std::string> CallNames(const std::vector<StandInCall>& calls)
{
    std::vector<std::string> out;
    for (const StandInCall& c : calls)
        out.push_back(c.call + (c.call == "Navigate" || c.call.compare(0, 3, "Put") == 0 ? " " + c.detail : ""));
    return out;
}

}  // namespace

// An ordinary navigation goes ahead with no dialog; a play link with two addresses shows the
// owned, rounded wait dialog over the main dialog's corner, and its page's DocumentComplete
// sends LINK_PLAY then LINK_ADD (code 1: a host outside the table), closes it, cancels the
// navigation and gives the main window back.
TEST_F(Road, ZflvNavigationRunsTheWaitDialogAndIsCancelled)
{
    RoadRun road(folder.Run());
    ASSERT_TRUE(road.Start());
    ASSERT_TRUE(road.Navigate(L"http://www.ku6.com/index.html"));
    EXPECT_EQ(road.WaitCancel(L"http://www.ku6.com/index.html"), "0");
    EXPECT_EQ(road.WaitDialogCount(), 0);

    const std::wstring link = L"zflv://play/flv=http://f.example.org/1.flv<&>http://f.example.org/2.flv<&>&name=片";
    ASSERT_TRUE(road.Navigate(link));
    HWND wait = road.WaitDialog();
    ASSERT_NE(wait, nullptr);
    EXPECT_EQ(GetWindow(wait, GW_OWNER), road.MainWindow());
    EXPECT_FALSE(IsWindowEnabled(road.MainWindow()));
    RECT r;
    GetWindowRect(wait, &r);
    POINT origin = {0, 0};
    ClientToScreen(road.MainWindow(), &origin);
    EXPECT_EQ(r.right - r.left, 240);
    EXPECT_EQ(r.bottom - r.top, 102);
    EXPECT_EQ(r.left, origin.x);
    EXPECT_EQ(r.top, origin.y);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(GetWindowRgn(wait, region), ERROR);
    EXPECT_FALSE(PtInRegion(region, 0, 0));  // a rounded corner
    EXPECT_FALSE(PtInRegion(region, 239, 101));
    EXPECT_TRUE(PtInRegion(region, 120, 50));
    EXPECT_TRUE(PtInRegion(region, 10, 0));
    DeleteObject(region);
    const std::vector<std::string> loading = {"Navigate args=1 url=" + Utf8(road.Folder()) + "loading.html",
                                              "PutVisible -1", "PutTop 0", "PutLeft 0", "PutWidth 240",
                                              "PutHeight 102"};
    std::vector<std::string> calls;
    for (const std::string& c : CallNames(road.Calls(1014)))
        if (c.compare(0, 8, "Navigate") == 0 || c.compare(0, 3, "Put") == 0)
            calls.push_back(c);
    EXPECT_EQ(calls, loading);
    EXPECT_TRUE(Records().copies.empty());

    ASSERT_TRUE(road.CompleteWaitPage(wait));
    EXPECT_EQ(road.WaitCancel(link), "-1");
    EXPECT_TRUE(road.WaitDialogGone(wait));
    EXPECT_TRUE(IsWindowEnabled(road.MainWindow()));
    PlayerRecord record = Records();
    ASSERT_EQ(record.copies.size(), 2u);
    EXPECT_EQ(record.copies[0].dataWord, kPlay);
    EXPECT_EQ(record.copies[0].address, L"http://f.example.org/1.flv");
    EXPECT_EQ(record.copies[0].title, L"片");
    EXPECT_EQ(record.copies[0].siteCode, 1);
    EXPECT_EQ(record.copies[1].dataWord, kAdd);
    EXPECT_EQ(record.copies[1].siteCode, 1);
    EXPECT_TRUE(road.Boxes().empty());
}

// The handling's boxes have no owner: the missing player before its start and again when it
// never comes, and an empty resolution. A goto link keeps the dialog until its page loads.
TEST_F(Road, BoxesAndTheGotoLink)
{
    ASSERT_TRUE(player.Close());
    DeleteFileW(folder.Run().PlayerRecord().c_str());
    ASSERT_TRUE(folder.Run().AddRecorder(L"qelplayer.exe"));  // starts, never shows a window
    ASSERT_TRUE(folder.SetResolverBlocks("page=http://www.ku6.com/show/a.html\ntitle=T\nline=http://f.ku6.com/a.flv\n"));
    RoadRun road(folder.Run());
    ASSERT_TRUE(road.Start());

    ASSERT_TRUE(road.Navigate(L"zflv://play/src=http://www.ku6.com/show/a.html"));
    HWND wait = road.WaitDialog();
    ASSERT_TRUE(road.CompleteWaitPage(wait));
    EXPECT_EQ(road.WaitCancel(L"zflv://play/src=http://www.ku6.com/show/a.html"), "-1");
    std::vector<BoxReport> boxes = road.Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    for (const BoxReport& box : boxes) {
        EXPECT_EQ(box.text, kMissingText);
        EXPECT_FALSE(box.hasOwner());
    }
    EXPECT_EQ(Records().starts.size(), 1u);

    ASSERT_TRUE(road.Navigate(L"zflv://play/src=http://www.ku6.com/show/none.html"));
    wait = road.WaitDialog();
    ASSERT_TRUE(road.CompleteWaitPage(wait));
    EXPECT_EQ(road.WaitCancel(L"zflv://play/src=http://www.ku6.com/show/none.html"), "-1");
    boxes = road.Boxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[2].text, kGoneText);
    EXPECT_FALSE(boxes[2].hasOwner());

    ASSERT_TRUE(road.Navigate(L"zflv://goto/http://www.ku6.com/"));
    wait = road.WaitDialog();
    ASSERT_NE(wait, nullptr);
    Sleep(500);
    EXPECT_TRUE(IsWindow(wait)) << "the dialog stays until its page has loaded";
    ASSERT_TRUE(road.CompleteWaitPage(wait));
    EXPECT_EQ(road.WaitCancel(L"zflv://goto/http://www.ku6.com/"), "-1");
    EXPECT_TRUE(road.WaitDialogGone(wait));
    EXPECT_EQ(road.Boxes().size(), 3u);
}

// "/videosrc=" with two pages: the first held in the resolver while timer 1 fires on the
// wait dialog; the second page is never asked for.
TEST_F(Road, PageTimeOutStopsAfterThePageInProgress)
{
    const std::wstring link = L"zflv://play/videosrc=http://www.ku6.com/show/1.html<&>http://www.ku6.com/show/2.html<&>";
    RoadRun road(folder.Run());
    HWND wait = HoldLink(road, link);
    ASSERT_NE(wait, nullptr);
    DWORD_PTR unused = 0;
    ASSERT_NE(SendMessageTimeoutW(wait, WM_TIMER, 1, 0, SMTO_BLOCK, 5000, &unused), 0);
    ASSERT_TRUE(folder.Release());
    EXPECT_EQ(road.WaitCancel(link), "-1");
    EXPECT_TRUE(road.WaitDialogGone(wait));
    ASSERT_EQ(folder.ResolverCalls().size(), 1u);
    PlayerRecord record = Records();
    ASSERT_EQ(record.copies.size(), 1u);  // the page in progress is still handed on
    EXPECT_EQ(record.copies[0].title, std::wstring(AgentFolder::kTitle) + L"_1");
}

// The workers start once per wait dialog, however many DocumentCompletes arrive.
TEST_F(Road, TwoDocumentCompletesGiveOneHandling)
{
    RoadRun road(folder.Run());
    HWND wait = HoldLink(road, L"zflv://play/src=http://www.ku6.com/show/a.html", 2);
    ASSERT_NE(wait, nullptr);
    Sleep(300);
    ASSERT_TRUE(folder.Release());
    EXPECT_EQ(road.WaitCancel(L"zflv://play/src=http://www.ku6.com/show/a.html"), "-1");
    EXPECT_TRUE(road.WaitDialogGone(wait));
    EXPECT_EQ(folder.ResolverCalls().size(), 1u);
    EXPECT_EQ(Records().copies.size(), 1u);
}

// The dialog's close command during a slow resolution: the navigation is cancelled and the
// main window is back at once; a later link gets a wait dialog of its own and reaches the
// player while the first is still held; then the first link's record arrives too.
TEST_F(Road, EarlyCloseLeavesTheHandlingToGoOn)
{
    RoadRun road(folder.Run());
    HWND wait = HoldLink(road, L"zflv://play/src=http://www.ku6.com/show/a.html");
    ASSERT_NE(wait, nullptr);
    PostMessageW(wait, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(road.WaitCancel(L"zflv://play/src=http://www.ku6.com/show/a.html"), "-1");
    EXPECT_TRUE(road.WaitDialogGone(wait));
    EXPECT_TRUE(IsWindowEnabled(road.MainWindow()));

    ASSERT_TRUE(road.Navigate(L"zflv://add/flv=http://f.ku6.com/second.flv<&>"));
    HWND second = road.WaitDialog();
    ASSERT_NE(second, nullptr);
    ASSERT_TRUE(road.CompleteWaitPage(second));
    EXPECT_EQ(road.WaitCancel(L"zflv://add/flv=http://f.ku6.com/second.flv<&>"), "-1");
    ASSERT_TRUE(WaitRecords(1));
    EXPECT_EQ(Records().copies[0].address, L"http://f.ku6.com/second.flv");

    ASSERT_TRUE(folder.Release());
    ASSERT_TRUE(WaitRecords(2));
    EXPECT_EQ(Records().copies[1].address, AgentFolder::kStream);
    EXPECT_EQ(Records().copies[1].dataWord, kPlay);
    DWORD code = 0;
    EXPECT_FALSE(road.WaitExit(0, &code)) << "the host ended (crashed?) with " << code;
}

// A second zflv navigation while the first's dialog is up is cancelled, with no second
// dialog; Enter and Escape leave the dialog open.
TEST_F(Road, SecondLinkIsRefusedAndKeysLeaveTheDialogOpen)
{
    RoadRun road(folder.Run());
    ASSERT_TRUE(road.Start());
    ASSERT_TRUE(road.Navigate(L"zflv://play/flv=http://f.ku6.com/1.flv<&>"));
    HWND wait = road.WaitDialog();
    ASSERT_NE(wait, nullptr);
    ASSERT_TRUE(road.Navigate(L"zflv://play/flv=http://f.ku6.com/2.flv<&>"));
    EXPECT_EQ(road.WaitCancel(L"zflv://play/flv=http://f.ku6.com/2.flv<&>"), "-1");
    EXPECT_EQ(road.WaitDialogCount(), 1);

    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        PostMessageW(wait, WM_KEYDOWN, key, 0);
        PostMessageW(wait, WM_COMMAND, key == VK_RETURN ? IDOK : IDCANCEL, 0);
    }
    Sleep(500);
    EXPECT_TRUE(IsWindow(wait));
    EXPECT_EQ(road.WaitCancel(L"zflv://play/flv=http://f.ku6.com/1.flv<&>", 0), "");  // still in progress

    ASSERT_TRUE(road.CompleteWaitPage(wait));
    EXPECT_EQ(road.WaitCancel(L"zflv://play/flv=http://f.ku6.com/1.flv<&>"), "-1");
    ASSERT_TRUE(WaitRecords(1));
    PlayerRecord record = Records();
    ASSERT_EQ(record.copies.size(), 1u);
    EXPECT_EQ(record.copies[0].address, L"http://f.ku6.com/1.flv");
}

// WM_CLOSE to the main window while a link is held in the resolver: the process ends at
// once with code 0, no crash.
TEST_F(Road, MainWindowClosedDuringALinkEndsTheProcess)
{
    RoadRun road(folder.Run());
    HWND wait = HoldLink(road, L"zflv://play/src=http://www.ku6.com/show/a.html");
    ASSERT_NE(wait, nullptr);
    PostMessageW(road.MainWindow(), WM_CLOSE, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(road.WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(road.Boxes().empty());
}

// From a folder with a blank and a character outside the ANSI code page, the loading page's
// address carries the whole path.
TEST_F(Road, LoadingPagePathIsWhole)
{
    RoadRun road(folder.Run(), L"影 ก\\");
    ASSERT_TRUE(road.Start());
    ASSERT_TRUE(road.Navigate(L"zflv://goto/x"));
    HWND wait = road.WaitDialog();
    ASSERT_NE(wait, nullptr);
    StandInCall navigate;
    for (const StandInCall& c : road.Calls(1014))
        if (c.call == "Navigate")
            navigate = c;
    EXPECT_EQ(navigate.detail, "args=1 url=" + Utf8(folder.Run().Path() + L"影 ก\\loading.html"));
    ASSERT_TRUE(road.CompleteWaitPage(wait));
    EXPECT_EQ(road.WaitCancel(L"zflv://goto/x"), "-1");
}

// The road in pelorama.exe itself: a play link in its portal runs the wait dialog over its
// window and reaches the player; its window closed while the next link is held in the
// resolver ends the program with code 0.
TEST_F(Road, PeloramaHandsThePortalsLinkToThePlayer)
{
    RoadRun road(folder.Run(), L"", SuiteBinFolder() + L"pelorama.exe");
    ASSERT_TRUE(road.Start());
    const std::wstring link = L"zflv://play/flv=http://f.ku6.com/1.flv<&>http://f.ku6.com/2.flv<&>&name=片";
    ASSERT_TRUE(road.Navigate(link));
    HWND wait = road.WaitDialog();
    ASSERT_NE(wait, nullptr);
    EXPECT_EQ(GetWindow(wait, GW_OWNER), road.MainWindow());
    RECT r;
    GetWindowRect(wait, &r);
    EXPECT_EQ(r.right - r.left, 240);
    EXPECT_EQ(r.bottom - r.top, 102);
    ASSERT_TRUE(road.CompleteWaitPage(wait));
    EXPECT_EQ(road.WaitCancel(link), "-1");
    EXPECT_TRUE(road.WaitDialogGone(wait));
    PlayerRecord record = Records();
    ASSERT_EQ(record.copies.size(), 2u);
    EXPECT_EQ(record.copies[0].dataWord, kPlay);
    EXPECT_EQ(record.copies[0].siteCode, 1);  // ku6
    EXPECT_EQ(record.copies[1].dataWord, kAdd);

    ASSERT_TRUE(folder.SetResolverBlocks(folder.HoldBlocks()));
    ASSERT_TRUE(road.Navigate(L"zflv://play/src=http://www.ku6.com/show/a.html"));
    wait = road.WaitDialog();
    ASSERT_NE(wait, nullptr);
    ASSERT_TRUE(road.CompleteWaitPage(wait));
    ASSERT_TRUE(folder.WaitResolverCalls(1));
    PostMessageW(road.MainWindow(), WM_CLOSE, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(road.WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(road.Boxes().empty());
}

namespace {

// pelorama.exe itself, its icon in the stand-in notification area, its portal's link held at
// the wait dialog (whose page never completes).
class RoadTray : public Road {
protected:
    void SetUp() override
    {
        Road::SetUp();
        ASSERT_TRUE(tray.Start()) << "another Shell_TrayWnd is in the prefix";
    }
    HWND HoldWaitDialog(RoadRun& road)
    {
        if (!road.Start() || !tray.WaitForRecords(1) || !road.Navigate(kLink))
            return nullptr;
        return road.WaitDialog();
    }
    bool IconDeleted() const
    {
        auto records = tray.Records();
        return !records.empty() && records.back().command == static_cast<ULONG_PTR>(NIM_DELETE);
    }

    const std::wstring kLink = L"zflv://play/src=http://www.ku6.com/show/a.html";
    StandinTray tray;
};

}  // namespace

// WM_CLOSE while the icon's menu is open over the wait dialog: the close is asked once, so the
// menu's loop sits idle and still hears the user; once the menu is closed the program ends by
// itself. No key reaches the menu while its thread is measured: keys would queue between posts.
TEST_F(RoadTray, CloseWithTheMenuOpenDuringALinkIsAskedOnce)
{
    RoadRun road(folder.Run(), L"", SuiteBinFolder() + L"pelorama.exe");
    ASSERT_NE(HoldWaitDialog(road), nullptr);
    HWND menu = OpenTrayMenu(road.Pid(), road.MainWindow());
    ASSERT_NE(menu, nullptr);
    PostMessageW(road.MainWindow(), WM_CLOSE, 0, 0);
    Sleep(200);
    const double before = ThreadCpuSeconds(road.MainWindow());
    ASSERT_GE(before, 0);
    Sleep(2000);
    EXPECT_LT(ThreadCpuSeconds(road.MainWindow()) - before, 0.2) << "the user-interface thread spins";
    EXPECT_TRUE(IsWindowVisible(menu));
    EXPECT_EQ(road.WaitCancel(kLink, 0), "");  // the portal's event is still in progress

    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    DWORD code = 99;
    ASSERT_TRUE(road.WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(road.WaitCancel(kLink, 0), "-1");
    EXPECT_TRUE(IconDeleted());
    EXPECT_TRUE(road.Boxes().empty());
}

// The menu's exit command during a link takes the same route: the portal's control (and the
// others) are closed only after its BeforeNavigate2 has returned.
TEST_F(RoadTray, MenuExitDuringALinkClosesOnceThePortalsEventHasReturned)
{
    RoadRun road(folder.Run(), L"", SuiteBinFolder() + L"pelorama.exe");
    ASSERT_NE(HoldWaitDialog(road), nullptr);
    ASSERT_TRUE(PickFromTrayMenu(road.Pid(), road.MainWindow(), 3));
    DWORD code = 99;
    ASSERT_TRUE(road.WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
    // The portal leaves its place (logged with its id), then is closed (logged without one).
    const std::string returned = "BeforeNavigate2 url=" + Utf8(kLink) + " cancel=-1";
    const std::vector<StandInCall> calls = road.AllCalls();
    const size_t none = calls.size();
    size_t fired = none, deactivated = none, closed = none;
    for (size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].call == "Fired" && calls[i].detail == returned)
            fired = i;
        if (calls[i].id == 1010 && calls[i].call == "InPlaceDeactivate")
            deactivated = i;
        if (calls[i].call == "Close" && deactivated != none && closed == none)
            closed = i;
    }
    ASSERT_NE(fired, none) << "the portal's event never returned";
    ASSERT_NE(closed, none) << "the portal was never closed";
    EXPECT_LT(fired, deactivated) << "the portal was taken down inside its own event";
    EXPECT_TRUE(IconDeleted());
    EXPECT_TRUE(road.Boxes().empty());
}
