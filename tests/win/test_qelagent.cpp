// qelagent as real process starts from a run folder, with the stand-in browser control
// registered, the stand-in resolver and the stand-in player: its command line, its welcome
// window, when and how it hands the link to the player, and one agent at a time.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "agent_run.h"
#include "bench_files.h"
#include "boxwatch_client.h"
#include "player_record.h"
#include "standin_client.h"
#include "wait_for.h"

namespace {

const unsigned long long kMs = 10000;  // 100 ns units per millisecond
const uint64_t kPlay = 0xC179F3D9u;
const wchar_t kLine[] = L"/url http://v.ku6.com/show/a.html /location http://p/ /info T";

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

// The control's window inside the agent's window.
HWND BrowserWindow(HWND agent)
{
    return GetDlgItem(agent, 1000);
}

// Every test has its run folder with a stand-in resolver; the player runs unless a test
// closes it.
class Agent : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.Create(AgentFolder::OneStream()));
        ASSERT_TRUE(player.Start(folder.Run().Path() + L"qelplayer.exe"));
    }
    void TearDown() override
    {
        folder.Release();
        EndRecordedPlayers(Record());
    }

    PlayerRecord Record() const { return ReadPlayerRecord(folder.Run().PlayerRecord()); }

    // Starts an agent whose resolver holds the link, and waits until it does; returns the
    // agent's window.
    HWND StartHeld(AgentRun& run, const wchar_t* tail = kLine)
    {
        if (!folder.SetResolverBlocks(folder.HoldBlocks()) || !run.Start(tail))
            return nullptr;
        HWND agent = run.WaitWindow();
        return agent && folder.WaitResolverCalls(1) ? agent : nullptr;
    }

    AgentFolder folder;
    StandinPlayer player;
};

// The command line as real process starts, each box read and answered as a user would:
// the refusal box has no owner and comes before any window; the link handling's own
// boxes are owned by the agent's window; a resolved page reaches the player.
TEST_F(Agent, CommandLineTable)
{
    const wchar_t kRefused[] = L"无有效效链接", kUnsupported[] = L"暂不支持此网址", kGone[] = L"URL链接已失效";
    struct Case {
        const wchar_t* tail;  // what follows the program path
        const wchar_t* box;   // null: none
        const wchar_t* page;  // what the resolver is asked; null: never called
    };
    const Case cases[] = {
        {L"", kRefused, nullptr},
        {L"/location http://www.ku6.com/ /info 片名", kRefused, nullptr},
        {L"/url http://v.ku6.com/show/abc.html", kUnsupported, nullptr},  // "/url A" last on the line
        {L"/urlX /location http://p/ /info T", kUnsupported, nullptr},
        {L"/url  /location http://www.ku6.com/ /info 链接", kUnsupported, nullptr},  // AddLink, empty address
        {L"/url http://www.example.org/v.html /location http://p/ /info T", kUnsupported, nullptr},
        {L"/url http://v.ku6.com/show/a b.html /location http://p/ /info T", nullptr, L"http://v.ku6.com/show/a"},
        // The "&" stays in the link; the page address ends at it.
        {L"/url http://v.ku6.com/show/a.html?x=1&y=2 /location http://p/ /info T", nullptr,
         L"http://v.ku6.com/show/a.html?x=1"},
        {L"/url http://v.ku6.com/show/gone.html /location http://p/ /info T", kGone, L"http://v.ku6.com/show/gone.html"},
    };
    ASSERT_TRUE(folder.SetResolverBlocks("page=http://v.ku6.com/show/gone.html\n" + AgentFolder::OneStream()));
    size_t calls = 0, copies = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.tail));
        AgentRun run(folder);
        BoxWatcher boxes;
        ASSERT_TRUE(run.Start(c.tail));
        ASSERT_TRUE(boxes.Start(run.Pid(), {"ok"}, 4, 20000));
        HWND agent = c.box == kRefused ? nullptr : run.WaitWindow();
        ASSERT_TRUE(run.WaitExit(15000));
        EXPECT_EQ(run.ExitCode(), 0u);
        boxes.Wait(2000);
        auto r = boxes.Reports();
        if (c.box) {
            ASSERT_EQ(r.size(), 1u);
            EXPECT_EQ(r[0].text, c.box);
            EXPECT_EQ(r[0].caption, c.box == kGone ? L"提示" : L"澜影提示");
            EXPECT_EQ(r[0].buttons, "OK");
            if (c.box == kRefused) {
                EXPECT_FALSE(r[0].hasOwner());
                EXPECT_TRUE(CallsOf(run, "Created").empty());  // the window was never made
            } else {
                ASSERT_NE(agent, nullptr);
                EXPECT_EQ(r[0].owner, reinterpret_cast<std::uintptr_t>(agent));
            }
        } else {
            EXPECT_TRUE(r.empty());
        }
        auto resolved = folder.ResolverCalls();
        ASSERT_EQ(resolved.size(), calls + (c.page ? 1 : 0));
        if (c.page) {
            EXPECT_EQ(resolved.back().exportName, "FLV_GetFlvUrlDirectlyW");
            EXPECT_EQ(resolved.back().page, c.page);
        }
        calls = resolved.size();
        PlayerRecord record = Record();
        const bool sent = c.page && !c.box;
        ASSERT_EQ(record.copies.size(), copies + (sent ? 1 : 0));
        if (sent) {
            const PlayerCopyData& got = record.copies.back();
            EXPECT_EQ(got.dataWord, kPlay);
            EXPECT_EQ(got.address, AgentFolder::kStream);
            EXPECT_EQ(got.title, AgentFolder::kTitle);
            EXPECT_EQ(got.siteCode, 1);
        }
        copies = record.copies.size();
    }
}

// The resolver is called 500 ms or more after the dialog started (its Navigate of the
// welcome page), the stream reaches the player, and the agent closes when it is done.
TEST_F(Agent, HandsTheLinkOverHalfASecondAfterItsWindowAndThenEnds)
{
    AgentRun run(folder);
    ASSERT_TRUE(run.Start(kLine));
    ASSERT_TRUE(run.WaitExit(15000));
    EXPECT_EQ(run.ExitCode(), 0u);
    auto navigate = CallsOf(run, "Navigate");
    auto resolved = folder.ResolverCalls();
    ASSERT_EQ(navigate.size(), 1u);
    ASSERT_EQ(resolved.size(), 1u);
    EXPECT_EQ(navigate[0].detail, "args=1 url=http://service.qelplayer.net/QEL_MESSAGE/welcome.html");
    EXPECT_EQ(resolved[0].page, L"http://v.ku6.com/show/a.html");
    EXPECT_GE(resolved[0].time, navigate[0].time + 500 * kMs)
        << (static_cast<long long>(resolved[0].time - navigate[0].time) / 10000) << " ms";
    EXPECT_GE(resolved[0].time, TimeOf(run.Created()) + 500 * kMs);
    EXPECT_EQ(CallsOf(run, "Destroyed").size(), 1u);  // the control was closed with the window
    ASSERT_EQ(Record().copies.size(), 1u);
    EXPECT_EQ(Record().copies[0].address, AgentFolder::kStream);
}

TEST_F(Agent, WindowStaysAtZeroSizeUntilADocumentCompletesThenIsCentred)
{
    AgentRun run(folder);
    HWND agent = StartHeld(run);  // in the resolver: still no document
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
    // Let the resolver answer: the shown window closes once the stream is with the player.
    ASSERT_TRUE(folder.Release());
    EXPECT_TRUE(run.WaitExit(10000));
    EXPECT_EQ(Record().copies.size(), 1u);
}

// Another program closes the agent while its resolver is still at work: the agent ends at
// once, no box appears and the link is dropped; nothing uses the window that is gone.
TEST_F(Agent, ForeignCloseWhileTheLinkIsInHandEndsTheAgent)
{
    const DWORD kSlowMs = 3000;
    ASSERT_TRUE(folder.SetResolverBlocks(AgentFolder::OneStream() + "delay=" + std::to_string(kSlowMs) + "\n"));
    AgentRun run(folder);
    ASSERT_TRUE(run.Start(kLine));
    HWND agent = run.WaitWindow();
    ASSERT_NE(agent, nullptr);
    BoxWatcher boxes;
    ASSERT_TRUE(boxes.Start(run.Pid(), {"ok"}, 1, 10000));
    ASSERT_TRUE(folder.WaitResolverCalls(1));
    const DWORD closed = GetTickCount();
    PostMessageW(agent, WM_CLOSE, 0, 0);
    ASSERT_TRUE(run.WaitExit(kSlowMs));
    EXPECT_LT(GetTickCount() - closed, kSlowMs / 2);
    EXPECT_EQ(run.ExitCode(), 0u);  // no crash on the way out
    Sleep(kSlowMs);                 // past the time the resolver would have answered
    EXPECT_TRUE(Record().copies.empty());
    boxes.Wait(2000);
    EXPECT_TRUE(boxes.Reports().empty());
    EXPECT_EQ(folder.ResolverCalls().size(), 1u);
}

// Enter, Escape and their commands leave the window open; further timers start no second worker.
TEST_F(Agent, KeysAndTimersLeaveTheOneWorkerAlone)
{
    AgentRun run(folder);
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
    EXPECT_EQ(folder.ResolverCalls().size(), 1u);
    ASSERT_TRUE(folder.Release());
    EXPECT_TRUE(run.WaitExit(10000));
    EXPECT_EQ(folder.ResolverCalls().size(), 1u);
    EXPECT_EQ(Record().copies.size(), 1u);
}

// A second agent while the first is held in a slow resolver: the first comes forward, the
// second ends at once whatever its command line, and the resolver is called only once.
TEST_F(Agent, SecondAgentBringsTheFirstForwardAndEnds)
{
    AgentRun first(folder);
    HWND agent = StartHeld(first, L"/url http://v.ku6.com/show/first.html /location http://p/ /info T");
    ASSERT_NE(agent, nullptr);

    HWND mine = CreateWindowExW(WS_EX_TOPMOST, L"Static", L"in front", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    for (const wchar_t* tail : {L"/url http://v.ku6.com/show/second.html /location http://p/ /info T", L""}) {
        SCOPED_TRACE(Utf8(tail));
        SetForegroundWindow(mine);
        ASSERT_EQ(GetForegroundWindow(), mine);
        AgentRun second(folder, first.StandInLog());
        ASSERT_TRUE(second.Start(tail));
        ASSERT_TRUE(second.WaitExit(10000));  // no box holds it
        EXPECT_EQ(second.ExitCode(), 0u);
        // Wine hands the foreground over to another process's window on that window's thread.
        WaitFor("the first agent in front", 2000, 20, [&] { return GetForegroundWindow() == agent; });
        EXPECT_EQ(GetForegroundWindow(), agent);
        EXPECT_TRUE(CallsOf(second, "Created").empty());
    }
    DestroyWindow(mine);
    ASSERT_TRUE(folder.Release());
    ASSERT_TRUE(first.WaitExit(10000));
    auto resolved = folder.ResolverCalls();
    ASSERT_EQ(resolved.size(), 1u);
    EXPECT_EQ(resolved[0].page, L"http://v.ku6.com/show/first.html");
    EXPECT_EQ(Record().copies.size(), 1u);
}

// No player window: the agent starts the player from its own folder (quoted: not the decoy),
// minimised, with no box first; where none comes up, the box with no owner, and the end.
TEST_F(Agent, MissingPlayerIsStartedBesideTheAgent)
{
    ASSERT_TRUE(player.Close());
    struct Case {
        const char* what;
        bool playerFile;
    } cases[] = {{"player beside the agent", true}, {"no player file", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFileW(folder.Run().PlayerRecord().c_str());
        if (!c.playerFile) {
            ASSERT_TRUE(DeleteFileW((folder.Run().Path() + L"qelplayer.exe").c_str()));
        }
        AgentRun run(folder);
        BoxWatcher boxes;
        ASSERT_TRUE(run.Start(kLine));
        ASSERT_TRUE(boxes.Start(run.Pid(), {"ok"}, 4, 20000));
        ASSERT_TRUE(run.WaitExit(15000));
        EXPECT_EQ(run.ExitCode(), 0u);
        boxes.Wait(2000);
        auto r = boxes.Reports();
        PlayerRecord record = Record();
        EndRecordedPlayers(record);
        if (c.playerFile) {
            EXPECT_TRUE(r.empty());
            ASSERT_EQ(record.starts.size(), 1u);
            const std::wstring path = folder.Run().Path() + L"qelplayer.exe";
            EXPECT_EQ(record.starts[0].module, path);
            EXPECT_EQ(record.starts[0].commandLine, L"\"" + path + L"\"");
            EXPECT_EQ(record.starts[0].showCode, 11);
            ASSERT_EQ(record.copies.size(), 1u);
            EXPECT_EQ(record.copies[0].dataWord, kPlay);
            EXPECT_EQ(record.copies[0].address, AgentFolder::kStream);
        } else {
            ASSERT_EQ(r.size(), 1u);
            EXPECT_EQ(r[0].text, L"未找到播放器,请先打开播放器");
            EXPECT_EQ(r[0].caption, L"错误提示");
            EXPECT_FALSE(r[0].hasOwner());
            EXPECT_TRUE(record.starts.empty());
        }
        EXPECT_FALSE(FileExists(folder.Run().DecoyRecord())) << "the decoy ran";
    }
}

// The agent binds the resolver when it loads: without vennix.dll beside it (or on its
// search path) it never starts, and no box, window or player sees anything of it.
TEST_F(Agent, WithoutTheResolverTheAgentDoesNotStart)
{
    ASSERT_TRUE(DeleteFileW((folder.Run().Path() + L"vennix.dll").c_str()));
    AgentRun run(folder);
    ASSERT_TRUE(run.Start(kLine, L"C:\\windows\\system32;C:\\windows"));
    ASSERT_TRUE(run.WaitExit(15000));
    EXPECT_EQ(run.ExitCode(), 0xC0000135u);  // STATUS_DLL_NOT_FOUND
    EXPECT_TRUE(CallsOf(run, "Created").empty());
    EXPECT_TRUE(Record().copies.empty());

    // The same start with the library back in place runs.
    ASSERT_TRUE(folder.Run().AddStandinResolver(""));
    ASSERT_TRUE(folder.SetResolverBlocks(AgentFolder::OneStream()));
    AgentRun again(folder);
    ASSERT_TRUE(again.Start(kLine, L"C:\\windows\\system32;C:\\windows"));
    ASSERT_TRUE(again.WaitExit(15000));
    EXPECT_EQ(again.ExitCode(), 0u);
    EXPECT_EQ(Record().copies.size(), 1u);
}

}  // namespace
