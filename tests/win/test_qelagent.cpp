// qelagent as real process starts, with the stand-in browser control registered: its
// command line, its welcome window, when it hands the link over, and one agent at a time.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "agent_run.h"
#include "boxwatch_client.h"
#include "standin_client.h"

namespace {

const unsigned long long kMs = 10000;  // 100 ns units per millisecond
const int kHold = 20000;              // a link held this long stays in hand for the whole test

std::vector<StandInCall> CallsOf(const AgentRun& run, const std::string& name)
{
    std::vector<StandInCall> out;
    for (const auto& c : ReadStandInLog(run.StandInLog()))
        if (c.pid == run.Pid() && c.call == name)
            out.push_back(c);
    return out;
}

RECT WindowRect(HWND hwnd)
{
    RECT r = {};
    GetWindowRect(hwnd, &r);
    return r;
}

std::string Text(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

const wchar_t kLine[] = L"/url http://v.ku6.com/show/a.html /location http://p/ /info T";

// Starts an agent whose hand-over holds the link, and waits until it does; returns the
// agent's window.
HWND StartHeld(AgentRun& run, const wchar_t* tail = kLine)
{
    if (!run.Start(tail, kHold))
        return nullptr;
    HWND agent = run.WaitWindow();
    return agent && run.WaitHandover("start") ? agent : nullptr;
}

// The control's window inside the agent's window.
HWND BrowserWindow(HWND agent)
{
    return GetDlgItem(agent, 1000);
}

TEST(Agent, CommandLineTable)
{
    struct Case {
        const wchar_t* tail;  // what follows the program path
        const wchar_t* link;  // null: refused with the box
    };
    const Case cases[] = {
        {L"", nullptr},
        {L"/location http://www.ku6.com/ /info 片名", nullptr},
        {L"/url http://v.ku6.com/show/abc.html", L"zflv://play/src="},  // "/url A" last on the line
        {L"/urlX /location http://p/ /info T", L"zflv://play/src="},
        {L"/url  /location http://www.ku6.com/ /info 链接", L"zflv://play/src="},  // AddLink, empty address
        {L"/url http://v.ku6.com/show/a b.html /location http://p/ /info T",
         L"zflv://play/src=http://v.ku6.com/show/a"},
        {L"/url http://v.ku6.com/show/a.html?x=1&y=2 /location http://p/ /info T",
         L"zflv://play/src=http://v.ku6.com/show/a.html?x=1&y=2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.tail));
        AgentRun run;
        BoxWatcher boxes;
        ASSERT_TRUE(run.Start(c.tail));
        if (!c.link) {
            ASSERT_TRUE(boxes.Start(run.Pid(), {"ok"}));
        }
        ASSERT_TRUE(run.WaitExit(15000));
        EXPECT_EQ(run.ExitCode(), 0u);
        auto handovers = run.Handovers();
        if (!c.link) {
            ASSERT_TRUE(boxes.Wait(5000));
            auto r = boxes.Reports();
            ASSERT_EQ(r.size(), 1u);
            EXPECT_EQ(r[0].caption, L"澜影提示");
            EXPECT_EQ(r[0].text, L"无有效效链接");
            EXPECT_FALSE(r[0].hasOwner());
            EXPECT_EQ(r[0].buttons, "OK");
            EXPECT_TRUE(handovers.empty());
            EXPECT_TRUE(CallsOf(run, "Created").empty());  // the window was never made
        } else {
            ASSERT_EQ(handovers.size(), 2u);
            EXPECT_EQ(handovers[0].kind, "start");
            EXPECT_EQ(handovers[0].link, c.link);
            EXPECT_NE(handovers[0].owner, nullptr);
            EXPECT_EQ(handovers[1].kind, "done");
        }
    }
}

// The hand-over comes 500 ms or more after the dialog started (its Navigate of the welcome
// page), owned by the agent's window, and the agent closes when it is done.
TEST(Agent, HandsTheLinkOverHalfASecondAfterItsWindowAndThenEnds)
{
    AgentRun run;
    ASSERT_TRUE(run.Start(kLine));
    ASSERT_TRUE(run.WaitExit(15000));
    EXPECT_EQ(run.ExitCode(), 0u);
    auto navigate = CallsOf(run, "Navigate");
    auto handovers = run.Handovers();
    ASSERT_EQ(navigate.size(), 1u);
    ASSERT_EQ(handovers.size(), 2u);
    EXPECT_EQ(navigate[0].detail, "args=1 url=http://service.qelplayer.net/QEL_MESSAGE/welcome.html");
    EXPECT_GE(handovers[0].time, navigate[0].time + 500 * kMs)
        << (static_cast<long long>(handovers[0].time - navigate[0].time) / 10000) << " ms";
    EXPECT_EQ(CallsOf(run, "Destroyed").size(), 1u);  // the control was closed with the window
}

TEST(Agent, WindowStaysAtZeroSizeUntilADocumentCompletesThenIsCentred)
{
    AgentRun run;
    HWND agent = StartHeld(run);  // past its hand-over start: still no document
    ASSERT_NE(agent, nullptr);

    const RECT zero = {0, 0, 0, 0};
    RECT r = WindowRect(agent);
    EXPECT_TRUE(EqualRect(&r, &zero)) << Text(r);
    EXPECT_TRUE(IsWindowVisible(agent));
    EXPECT_TRUE(GetWindowLongPtrW(agent, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(GetWindowLongPtrW(agent, GWL_STYLE) & WS_CAPTION);
    HWND browser = BrowserWindow(agent);
    ASSERT_NE(browser, nullptr);
    r = WindowRect(browser);
    EXPECT_EQ(r.right - r.left, 0);
    EXPECT_EQ(r.bottom - r.top, 0);
    auto visible = CallsOf(run, "PutVisible");
    ASSERT_EQ(visible.size(), 1u);
    EXPECT_EQ(visible[0].detail, "0");

    RECT desktop = WindowRect(GetDesktopWindow());
    const int x = (desktop.right - desktop.left - 436) / 2, y = (desktop.bottom - desktop.top - 316) / 2;
    const RECT centred = {x, y, x + 436, y + 316};
    // Every completed document places the window again, also after it was moved away.
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        if (round == 1)
            SetWindowPos(agent, nullptr, 5, 5, 100, 100, SWP_NOZORDER | SWP_NOACTIVATE);
        size_t before = CallsOf(run, "OnPosRectChange").size();
        ASSERT_TRUE(SendStandInCommand(browser, L"DocumentComplete http://service.qelplayer.net/QEL_MESSAGE/welcome.html"));
        auto last = WaitForStandInCall(run.StandInLog(), [&](const StandInCall& c) {
            return c.pid == run.Pid() && c.call == "PutHeight" && CallsOf(run, "OnPosRectChange").size() >= before + 4;
        });
        ASSERT_EQ(last.call, "PutHeight");
        Sleep(50);
        r = WindowRect(agent);
        EXPECT_TRUE(EqualRect(&r, &centred)) << Text(r);
        RECT client;
        GetClientRect(agent, &client);
        RECT inside = WindowRect(browser);
        MapWindowPoints(nullptr, agent, reinterpret_cast<POINT*>(&inside), 2);
        EXPECT_TRUE(EqualRect(&inside, &client)) << Text(inside) << " client " << Text(client);

        // Top, Left, Width and Height, in this order, each applied by the agent.
        std::vector<std::string> puts;
        for (const auto& c : ReadStandInLog(run.StandInLog()))
            if (c.pid == run.Pid() && c.call.compare(0, 3, "Put") == 0 && c.call != "PutVisible")
                puts.push_back(c.call + " " + c.detail);
        ASSERT_GE(puts.size(), 4u);
        std::vector<std::string> tail(puts.end() - 4, puts.end());
        const std::vector<std::string> expected = {"PutTop 0", "PutLeft 0", "PutWidth 436", "PutHeight 316"};
        EXPECT_EQ(tail, expected);
        auto applied = CallsOf(run, "SetObjectRects");
        ASSERT_FALSE(applied.empty());
        EXPECT_EQ(applied.back().detail, "pos=0,0,436,316 clip=0,0,436,316");
    }
    PostMessageW(agent, WM_CLOSE, 0, 0);
    EXPECT_TRUE(run.WaitExit(10000));
}

// Another program closes the agent while the link is in hand: the agent ends at once and
// the link is dropped; nothing uses the window that is gone.
TEST(Agent, ForeignCloseWhileTheLinkIsInHandEndsTheAgent)
{
    AgentRun run;
    HWND agent = StartHeld(run);
    ASSERT_NE(agent, nullptr);
    const DWORD closed = GetTickCount();
    PostMessageW(agent, WM_CLOSE, 0, 0);
    ASSERT_TRUE(run.WaitExit(kHold / 2));
    EXPECT_LT(GetTickCount() - closed, static_cast<DWORD>(kHold / 2));
    EXPECT_EQ(run.ExitCode(), 0u);  // no crash on the way out
    auto handovers = run.Handovers();
    ASSERT_EQ(handovers.size(), 1u);
    EXPECT_EQ(handovers[0].kind, "start");
    EXPECT_EQ(handovers[0].owner, agent);
}

// Enter, Escape and their commands leave the window open; further timers start no second worker.
TEST(Agent, KeysAndTimersLeaveTheOneWorkerAlone)
{
    AgentRun run;
    HWND agent = StartHeld(run);
    ASSERT_NE(agent, nullptr);
    PostMessageW(agent, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageW(agent, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(agent, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    PostMessageW(agent, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    for (WPARAM id : {0, 0, 5})
        PostMessageW(agent, WM_TIMER, id, 0);
    Sleep(500);
    EXPECT_TRUE(run.Running());
    EXPECT_TRUE(IsWindow(agent));
    EXPECT_EQ(run.Handovers().size(), 1u);
    PostMessageW(agent, WM_CLOSE, 0, 0);
    EXPECT_TRUE(run.WaitExit(10000));
}

// A second agent while the first holds its link: the first comes forward, the second
// ends at once whatever its command line, and only the first link is handed over.
TEST(Agent, SecondAgentBringsTheFirstForwardAndEnds)
{
    AgentRun first;
    HWND agent = StartHeld(first, L"/url http://v.ku6.com/show/first.html /location http://p/ /info T");
    ASSERT_NE(agent, nullptr);

    HWND mine = CreateWindowExW(WS_EX_TOPMOST, L"Static", L"in front", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    for (const wchar_t* tail : {L"/url http://v.ku6.com/show/second.html /location http://p/ /info T", L""}) {
        SCOPED_TRACE(Utf8(tail));
        SetForegroundWindow(mine);
        ASSERT_EQ(GetForegroundWindow(), mine);
        AgentRun second(L"", first.StandInLog());
        ASSERT_TRUE(second.Start(tail));
        ASSERT_TRUE(second.WaitExit(10000));  // no box holds it
        EXPECT_EQ(second.ExitCode(), 0u);
        EXPECT_EQ(GetForegroundWindow(), agent);
        EXPECT_TRUE(CallsOf(second, "Created").empty());
        EXPECT_TRUE(second.Handovers().empty());
    }
    DestroyWindow(mine);
    auto handovers = first.Handovers();
    ASSERT_EQ(handovers.size(), 1u);
    EXPECT_EQ(handovers[0].link, L"zflv://play/src=http://v.ku6.com/show/first.html");
    PostMessageW(agent, WM_CLOSE, 0, 0);
    EXPECT_TRUE(first.WaitExit(10000));
}

}  // namespace
