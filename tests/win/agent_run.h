#pragma once
// Runs the built qelagent.exe from a run folder (run_folder.h: a blank in its name, a decoy
// beside it) as the control starts it: the path quoted, the arguments after it, show code 5.
// Beside the agent lie the stand-in player's program (qelplayer.exe, not running unless a
// test starts it) and a resolver: the stand-in, whose calls are logged with their times,
// or the real vennix.dll for the fixture web.
//
//   AgentFolder folder;
//   ASSERT_TRUE(folder.Create(AgentFolder::OneStream()));
//   StandinPlayer player;
//   ASSERT_TRUE(player.Start(folder.Run().Path() + L"qelplayer.exe"));
//   AgentRun run(folder);
//   ASSERT_TRUE(run.Start(L"/url http://v.ku6.com/show/a.html /location http://p/ /info T"));
//   ASSERT_TRUE(run.WaitExit(15000));
//   ... folder.ResolverCalls(), ReadPlayerRecord(folder.Run().PlayerRecord()) ...
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "run_folder.h"

struct ResolverCall {
    unsigned long long time = 0;  // system time, 100 ns units
    std::string exportName;
    std::wstring page;
};

class AgentFolder {
public:
    // Page blocks of the stand-in resolver's script (bench/standins/README.md).
    // Every page resolves to kStream with the title kTitle.
    static std::string OneStream();
    static const wchar_t kStream[];
    static const wchar_t kTitle[];

    AgentFolder() = default;
    AgentFolder(const AgentFolder&) = delete;
    AgentFolder& operator=(const AgentFolder&) = delete;

    // The folder with qelagent.exe, qelplayer.exe and the stand-in resolver answering blocks.
    bool Create(const std::string& blocks);
    // The same with the real vennix.dll in place of the stand-in.
    bool CreateWithRealResolver();
    // Replaces the stand-in's page blocks; HoldBlocks() holds every call until Release().
    bool SetResolverBlocks(const std::string& blocks);
    std::string HoldBlocks() const;
    bool Release() const;

    RunFolder& Run() { return run_; }
    const RunFolder& Run() const { return run_; }
    std::wstring AgentPath() const { return run_.Path() + L"qelagent.exe"; }

    // The stand-in resolver's calls so far, in order.
    std::vector<ResolverCall> ResolverCalls() const;
    // Waits until it has been called count times; false on time-out.
    bool WaitResolverCalls(size_t count, int timeoutMs = 10000) const;

private:
    bool CreateFolder();
    std::wstring CallLog() const { return run_.Parent() + L"resolver.calls"; }
    std::wstring ReleaseFile() const { return run_.Parent() + L"resolver.release"; }

    RunFolder run_;
};

// A program under test started from its folder, with the stand-in browser's log named in its
// environment, and found by the window property that marks its main window.
class ProcessRun {
public:
    // standInLog: the stand-in browser's log, shared with other runs; empty: one of its own.
    ProcessRun(std::wstring programPath, std::wstring windowProperty, std::wstring standInLog = L"");
    ProcessRun(const ProcessRun&) = delete;
    ProcessRun& operator=(const ProcessRun&) = delete;
    virtual ~ProcessRun();  // ends a program still running and removes the log it made

    // Starts "\"<program path>\"" + (tail empty ? "" : " " + tail). searchPath, when given,
    // is the PATH the program starts with (where the system looks for a library not beside it).
    bool Start(const std::wstring& tail, const wchar_t* searchPath = nullptr);
    DWORD Pid() const { return pid_; }
    FILETIME Created() const;
    bool WaitExit(int timeoutMs);
    bool Running() const;
    DWORD ExitCode() const;

    // The program's window: its top-level window with the property.
    HWND WaitWindow(int timeoutMs = 10000) const;
    const std::wstring& StandInLog() const { return standInLog_; }

private:
    const std::wstring programPath_;
    const std::wstring windowProperty_;
    std::wstring standInLog_;
    bool ownLog_;
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// qelagent from its folder; its window carries the property "qelagent".
class AgentRun : public ProcessRun {
public:
    explicit AgentRun(const AgentFolder& folder, std::wstring standInLog = L"")
        : ProcessRun(folder.AgentPath(), L"qelagent", std::move(standInLog))
    {
    }
};

// The window of a running agent (its top-level window with the property "qelagent") of
// process pid, or of any process for 0; null when there is none.
HWND AgentWindowOf(DWORD pid);
// Waits until no agent window is left; false after timeoutMs.
bool WaitNoAgentWindow(DWORD timeoutMs);

std::wstring TempFilePath(const wchar_t* prefix);
unsigned long long TimeOf(const FILETIME& t);
