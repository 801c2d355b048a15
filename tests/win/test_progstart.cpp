// Starting a program beside a module, under Wine: paths, quoting, show code, the wait.
#include <gtest/gtest.h>
#include <windows.h>

#include "player_record.h"
#include "progstart.h"
#include "run_folder.h"
#include "wait_for.h"

namespace {

class ProgramStart : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(run.Create()); }
    void TearDown() override { EndRecordedPlayers(ReadPlayerRecord(run.PlayerRecord())); }
    RunFolder run;
};

}  // namespace

TEST_F(ProgramStart, ModulePaths)
{
    wchar_t own[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, own, MAX_PATH);
    EXPECT_EQ(ModuleFilePath(nullptr), std::wstring(own, n));
    EXPECT_EQ(ThisModule(), GetModuleHandleW(nullptr));  // linked into a program
    EXPECT_EQ(ProgramPathBesideModule(nullptr, L"qelplayer", nullptr), TestBinFolder() + L"qelplayer.exe");
    EXPECT_EQ(ProgramPathBesideModule(nullptr, L"qelagent", L"exe"), TestBinFolder() + L"qelagent.exe");
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    std::wstring beside = ProgramPathBesideModule(kernel, L"qelagent", L"exe");
    EXPECT_EQ(beside.substr(beside.size() - 13), L"\\qelagent.exe");
    EXPECT_EQ(ModuleFilePath(reinterpret_cast<HMODULE>(static_cast<uintptr_t>(0x10))), L"");
}

// The player in a folder with a blank starts quoted (the decoy never runs), with its show
// code, and the start returns only once the player has been ready for input. (Wine may signal
// that while the window is still being made, so the window is awaited briefly.)
TEST_F(ProgramStart, QuotedStartWaitsUntilTheWindowExists)
{
    ASSERT_TRUE(run.AddStandinPlayer());
    const std::wstring path = run.Path() + L"qelplayer.exe";
    ASSERT_TRUE(StartProgram(path, nullptr, 11, true));
    PlayerRecord record = ReadPlayerRecord(run.PlayerRecord());
    const bool startedAtReturn = record.starts.size() == 1;
    EXPECT_TRUE(startedAtReturn);
    if (!startedAtReturn && WaitForRecord(run.PlayerRecord(), 1, true))
        record = ReadPlayerRecord(run.PlayerRecord());  // so that the player is ended
    ASSERT_EQ(record.starts.size(), 1u);
    HANDLE player = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, record.starts[0].pid);
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(WaitForInputIdle(player, 0), 0u);
    CloseHandle(player);
    HWND window = nullptr;
    WaitFor("the player's window", 5000, 10, [&] {
        window = FindWindowW(L"QELPlayerW_C179F3D9-F8B6-42bb-AC0C-D4A4BDAB8BB2", nullptr);
        return window != nullptr;
    });
    EXPECT_NE(window, nullptr);
    EXPECT_EQ(record.starts[0].module, path);
    EXPECT_EQ(record.starts[0].commandLine, L"\"" + path + L"\"");
    EXPECT_EQ(record.starts[0].showCode, 11);
    EXPECT_FALSE(FileExists(run.DecoyRecord()));
}

// Arguments follow the quoted path as they stand, UTF-16 throughout.
TEST_F(ProgramStart, ArgumentsAfterTheQuotedPath)
{
    ASSERT_TRUE(run.AddRecorder(L"qelagent.exe"));
    const wchar_t args[] = L" /url http://v.ku6.com/a b.html /location http://页/ /info 链接 文字";
    ASSERT_TRUE(StartProgram(run.Path() + L"qelagent.exe", args, SW_SHOW, false));
    const std::wstring record = run.RecordOf(L"qelagent.exe");
    ASSERT_TRUE(WaitForRecord(record, 1, true));
    PlayerStart start = ReadPlayerRecord(record).starts.at(0);
    EXPECT_EQ(start.commandLine, L"\"" + run.Path() + L"qelagent.exe\"" + args);
    EXPECT_EQ(start.showCode, SW_SHOW);
}

TEST_F(ProgramStart, NothingToStart)
{
    EXPECT_FALSE(StartProgram(L"", nullptr, SW_SHOW, true));
    EXPECT_FALSE(StartProgram(run.Path() + L"qelplayer.exe", nullptr, SW_SHOW, true));  // no such file
    EXPECT_FALSE(FileExists(run.DecoyRecord()));
}

// No show code: the program's STARTUPINFO holds only its size. With the wait, the stand-in
// pelorama's window exists as soon as the start returns; it records WM_CLOSE and ends.
TEST_F(ProgramStart, NoShowCodeAndTheWaitUntilReady)
{
    ASSERT_TRUE(run.AddRecorder(L"pelorama.exe", L"QELPLAYERPELORAMA"));
    const std::wstring path = run.Path() + L"pelorama.exe";
    ASSERT_TRUE(StartProgram(path, nullptr, kNoShowCode, true));
    HWND window = FindWindowW(L"QELPLAYERPELORAMA", nullptr);
    ASSERT_NE(window, nullptr);
    PlayerRecord record = ReadPlayerRecord(run.RecordOf(L"pelorama.exe"));
    ASSERT_EQ(record.starts.size(), 1u);
    EXPECT_EQ(record.starts[0].showCode, -1);
    EXPECT_EQ(record.starts[0].commandLine, L"\"" + path + L"\"");
    EXPECT_EQ(record.closes, 0);

    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    EXPECT_EQ(pid, record.starts[0].pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    ASSERT_NE(process, nullptr);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
    CloseHandle(process);
    EXPECT_EQ(ReadPlayerRecord(run.RecordOf(L"pelorama.exe")).closes, 1);
}

// Without a window class the recorder ends at once; an installer's start is recorded whole.
TEST_F(ProgramStart, RecorderWithoutAWindowEndsAtOnce)
{
    ASSERT_TRUE(run.AddRecorder(L"setup.exe"));
    ASSERT_TRUE(StartProgram(run.Path() + L"setup.exe", L" /S /D=C:\\影 音", SW_HIDE, true));
    ASSERT_TRUE(WaitForRecord(run.RecordOf(L"setup.exe"), 1, true));
    PlayerStart start = ReadPlayerRecord(run.RecordOf(L"setup.exe")).starts.at(0);
    EXPECT_EQ(start.showCode, SW_HIDE);
    EXPECT_EQ(start.commandLine, L"\"" + run.Path() + L"setup.exe\" /S /D=C:\\影 音");
    EXPECT_EQ(start.module, run.Path() + L"setup.exe");
}
