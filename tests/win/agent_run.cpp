#include "agent_run.h"

#include <cstdlib>

#include "standin_client.h"

namespace {

std::wstring OwnFolder()
{
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path, n);
    return p.substr(0, p.find_last_of(L"\\/") + 1);
}

std::wstring Wide(const std::string& s)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), &out[0], n);
    return out;
}

struct WindowSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindAgentWindow(HWND hwnd, LPARAM lp)
{
    auto* s = reinterpret_cast<WindowSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == s->pid && GetPropW(hwnd, L"qelagent")) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

std::string Utf8(const std::wstring& s)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::wstring TempFilePath(const wchar_t* prefix)
{
    wchar_t dir[MAX_PATH + 1], file[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, dir);
    GetTempFileNameW(dir, prefix, 0, file);
    return file;
}

std::wstring AgentPath()
{
    return OwnFolder() + L"..\\bin\\qelagent.exe";
}

AgentRun::AgentRun(std::wstring record, std::wstring standInLog)
    : record_(record.empty() ? TempFilePath(L"hov") : record),
      standInLog_(standInLog.empty() ? TempFilePath(L"bsl") : standInLog),
      ownRecord_(record.empty()),
      ownLog_(standInLog.empty())
{
}

AgentRun::~AgentRun()
{
    if (process_) {
        if (Running()) {
            TerminateProcess(process_, 99);
            WaitForSingleObject(process_, 5000);
        }
        CloseHandle(process_);
    }
    if (ownRecord_)
        DeleteFileW(record_.c_str());
    if (ownLog_)
        DeleteFileW(standInLog_.c_str());
}

bool AgentRun::Start(const std::wstring& tail, int holdMs)
{
    SetEnvironmentVariableW(L"QELAGENT_HANDOVER_RECORD", record_.c_str());
    SetEnvironmentVariableW(L"BROWSER_STANDIN_LOG", standInLog_.c_str());
    SetEnvironmentVariableW(L"QELAGENT_HANDOVER_HOLD_MS", holdMs ? std::to_wstring(holdMs).c_str() : nullptr);
    std::wstring exe = AgentPath();
    std::wstring line = exe + (tail.empty() ? L"" : L" " + tail);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOW;  // as WinExec with show code 5
    PROCESS_INFORMATION pi = {};
    BOOL ok = CreateProcessW(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    SetEnvironmentVariableW(L"QELAGENT_HANDOVER_HOLD_MS", nullptr);
    if (!ok)
        return false;
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    pid_ = pi.dwProcessId;
    return true;
}

FILETIME AgentRun::Created() const
{
    FILETIME created = {}, exited, kernel, user;
    GetProcessTimes(process_, &created, &exited, &kernel, &user);
    return created;
}

bool AgentRun::WaitExit(int timeoutMs)
{
    return process_ && WaitForSingleObject(process_, static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0;
}

bool AgentRun::Running() const
{
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

DWORD AgentRun::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    if (process_)
        GetExitCodeProcess(process_, &code);
    return code;
}

HWND AgentRun::WaitWindow(int timeoutMs) const
{
    const DWORD start = GetTickCount();
    do {
        WindowSearch s{pid_, nullptr};
        EnumWindows(FindAgentWindow, reinterpret_cast<LPARAM>(&s));
        if (s.found)
            return s.found;
        Sleep(10);
    } while (GetTickCount() - start < static_cast<DWORD>(timeoutMs) && Running());
    return nullptr;
}

std::vector<Handover> AgentRun::Handovers() const
{
    std::vector<Handover> lines;
    std::string data = ReadSharedFile(record_);
    size_t pos = 0, end;
    while ((end = data.find('\n', pos)) != std::string::npos) {
        std::string line = data.substr(pos, end - pos);
        pos = end + 1;
        Handover h;
        size_t blank = line.find(' ');
        h.kind = line.substr(0, blank);
        size_t t = line.find("t=");
        if (t != std::string::npos)
            h.time = std::strtoull(line.c_str() + t + 2, nullptr, 10);
        size_t owner = line.find(" owner=");
        if (owner != std::string::npos)
            h.owner = reinterpret_cast<HWND>(
                static_cast<ULONG_PTR>(std::strtoull(line.c_str() + owner + 7, nullptr, 16)));
        size_t link = line.find(" link=");
        if (link != std::string::npos)
            h.link = Wide(line.substr(link + 6));
        lines.push_back(h);
    }
    return lines;
}

bool AgentRun::WaitHandover(const char* kind, int timeoutMs) const
{
    const DWORD start = GetTickCount();
    for (;;) {
        for (const auto& h : Handovers())
            if (h.kind == kind)
                return true;
        if (GetTickCount() - start >= static_cast<DWORD>(timeoutMs))
            return false;
        Sleep(10);
    }
}
