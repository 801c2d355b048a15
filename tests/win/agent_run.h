#pragma once
// Starts the built qelagent.exe (../bin beside the test programs) as a user's browser
// would, with the stand-in browser's log and the link hand-over's record in files of the
// test, and watches it.
#include <windows.h>

#include <string>
#include <vector>

struct Handover {
    std::string kind;  // "start" or "done"
    unsigned long long time = 0;  // system time, 100 ns units
    HWND owner = nullptr;  // "start" only
    std::wstring link;
};

std::wstring TempFilePath(const wchar_t* prefix);
std::wstring AgentPath();

class AgentRun {
public:
    // Files shared with other runs may be given; else the run makes its own.
    explicit AgentRun(std::wstring record = L"", std::wstring standInLog = L"");
    AgentRun(const AgentRun&) = delete;
    AgentRun& operator=(const AgentRun&) = delete;
    ~AgentRun();  // ends an agent still running and removes the files it made

    // Starts "<agent path>" + (tail empty ? "" : " " + tail): the path unquoted, as the
    // control starts it. holdMs: how long the hand-over holds the link.
    bool Start(const std::wstring& tail, int holdMs = 0);
    DWORD Pid() const { return pid_; }
    FILETIME Created() const;
    bool WaitExit(int timeoutMs);
    bool Running() const;
    DWORD ExitCode() const;

    // The agent's window: its top-level window with the property "qelagent".
    HWND WaitWindow(int timeoutMs = 10000) const;
    std::vector<Handover> Handovers() const;
    // Waits for the first hand-over line of this kind; false on time-out.
    bool WaitHandover(const char* kind, int timeoutMs = 10000) const;
    const std::wstring& StandInLog() const { return standInLog_; }

private:
    std::wstring record_, standInLog_;
    bool ownRecord_, ownLog_;
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

std::string Utf8(const std::wstring& s);
