#pragma once
// Tests' side of the stand-in browser control: its log, parsed, and its commands.
//
//   SetEnvironmentVariableW(L"BROWSER_STANDIN_LOG", path);   // before the control is created
//   ... the program under test creates the control ...
//   SendStandInCommand(controlWindow, L"DocumentComplete http://x/");
//   auto calls = ReadStandInLog(path);
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct StandInCall {
    unsigned long long time = 0;  // system time in 100 ns units
    DWORD pid = 0;
    HWND hwnd = nullptr;  // the control's window, null before it is in place
    int id = 0;           // that window's control id
    std::string call;     // "Navigate", "PutWidth", "OnPosRectChange", "Fired", ...
    std::string detail;   // the rest of the line
};

std::vector<StandInCall> ReadStandInLog(const std::wstring& path);
// Polls the log until some call satisfies match; returns it, or an empty call (call == "")
// after timeoutMs.
StandInCall WaitForStandInCall(const std::wstring& path,
                               const std::function<bool(const StandInCall&)>& match,
                               int timeoutMs = 10000);
// Hands a command to the control whose window is given: "<event> [address]", the event
// one of BeforeNavigate2, DocumentComplete, NavigateComplete2, DownloadBegin,
// DownloadComplete; or HistoryFails (GoBack and GoForward fail from then on). It returns at
// once; the event fires from the control's message loop.
// "ClaimKeys 9 13" makes the control take Tab and Enter when a host offers them (in effect
// at return); "ClaimKeys" claims none.
bool SendStandInCommand(HWND control, const std::wstring& command);
