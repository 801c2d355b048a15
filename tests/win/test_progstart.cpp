// Starting a program beside a module, under Wine: paths, quoting, show code, the wait.
#include <gtest/gtest.h>
#include <windows.h>

#include "player_record.h"
#include "progstart.h"
#include "run_folder.h"

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
// code, and its window exists as soon as the start returns.
TEST_F(ProgramStart, QuotedStartWaitsUntilTheWindowExists)
{
    ASSERT_TRUE(run.AddStandinPlayer());
    const std::wstring path = run.Path() + L"qelplayer.exe";
    ASSERT_TRUE(StartProgram(path, nullptr, 11, true));
    EXPECT_NE(FindWindowW(L"QELPlayerW_C179F3D9-F8B6-42bb-AC0C-D4A4BDAB8BB2", nullptr), nullptr);
    PlayerRecord record = ReadPlayerRecord(run.PlayerRecord());
    ASSERT_EQ(record.starts.size(), 1u);
    EXPECT_EQ(record.starts[0].module, path);
    EXPECT_EQ(record.starts[0].commandLine, L"\"" + path + L"\"");
    EXPECT_EQ(record.starts[0].showCode, 11);
    EXPECT_FALSE(FileExists(run.DecoyRecord()));
}

// Arguments follow the quoted path as they stand, UTF-16 throughout.
TEST_F(ProgramStart, ArgumentsAfterTheQuotedPath)
{
    ASSERT_TRUE(run.AddProgram(TestBinFolder() + L"standin_decoy.exe", L"qelagent.exe"));
    const wchar_t args[] = L" /url http://v.ku6.com/a b.html /location http://页/ /info 链接 文字";
    ASSERT_TRUE(StartProgram(run.Path() + L"qelagent.exe", args, SW_SHOW, false));
    const std::wstring record = run.Path() + L"qelagent.record";
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
