#include "agent_run.h"

#include <cstdlib>
#include <cwchar>

#include "bench_files.h"
#include "standin_client.h"
#include "wait_for.h"

namespace {

struct WindowSearch {
    DWORD pid;
    const wchar_t* property;
    HWND found;
};

BOOL CALLBACK FindProgramWindow(HWND hwnd, LPARAM lp)
{
    auto* s = reinterpret_cast<WindowSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if ((s->pid == 0 || pid == s->pid) && GetPropW(hwnd, s->property)) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// This process's environment block with PATH replaced.
std::vector<wchar_t> EnvironmentWithPath(const wchar_t* path)
{
    std::vector<wchar_t> block;
    wchar_t* strings = GetEnvironmentStringsW();
    for (const wchar_t* p = strings; *p; p += wcslen(p) + 1)
        if (_wcsnicmp(p, L"PATH=", 5) != 0)
            block.insert(block.end(), p, p + wcslen(p) + 1);
    FreeEnvironmentStringsW(strings);
    std::wstring entry = std::wstring(L"PATH=") + path;
    block.insert(block.end(), entry.c_str(), entry.c_str() + entry.size() + 1);
    block.push_back(L'\0');
    return block;
}

}  // namespace

const wchar_t AgentFolder::kStream[] = L"http://f.ku6.com/one.flv";
const wchar_t AgentFolder::kTitle[] = L"片名";

std::string AgentFolder::OneStream()
{
    return "page=*\ntitle=" + Utf8(kTitle) + "\nline=" + Utf8(kStream) + "\n";
}

bool AgentFolder::CreateFolder()
{
    return run_.Create() && run_.AddProgram(SuiteBinFolder() + L"qelagent.exe", L"qelagent.exe") &&
           run_.AddStandinPlayer();
}

bool AgentFolder::Create(const std::string& blocks)
{
    return CreateFolder() && run_.AddStandinResolver("") && SetResolverBlocks(blocks);
}

bool AgentFolder::CreateWithRealResolver()
{
    return CreateFolder() && run_.AddRealResolver();
}

bool AgentFolder::SetResolverBlocks(const std::string& blocks)
{
    return run_.SetResolverScript("timelog=" + Utf8(CallLog()) + "\n" + blocks);
}

std::string AgentFolder::HoldBlocks() const
{
    return OneStream() + "hold=" + Utf8(ReleaseFile()) + "\n";
}

bool AgentFolder::Release() const
{
    return WriteWholeFile(ReleaseFile(), "");
}

std::vector<ResolverCall> AgentFolder::ResolverCalls() const
{
    std::vector<ResolverCall> calls;
    std::string data = ReadWholeFile(CallLog());
    size_t pos = 0, end;
    while ((end = data.find('\n', pos)) != std::string::npos) {
        std::string line = data.substr(pos, end - pos);
        pos = end + 1;
        ResolverCall call;
        size_t name = line.find(' '), page = line.find(' ', name + 1);
        if (line.compare(0, 2, "t=") != 0 || name == std::string::npos)
            continue;
        call.time = std::strtoull(line.c_str() + 2, nullptr, 10);
        call.exportName = line.substr(name + 1, page == std::string::npos ? std::string::npos : page - name - 1);
        if (page != std::string::npos)
            call.page = Wide(line.substr(page + 1));
        calls.push_back(call);
    }
    return calls;
}

bool AgentFolder::WaitResolverCalls(size_t count, int timeoutMs) const
{
    const std::string what = std::to_string(count) + " resolver call(s)";
    return WaitFor(what.c_str(), static_cast<DWORD>(timeoutMs), 10, [&] { return ResolverCalls().size() >= count; });
}

std::wstring TempFilePath(const wchar_t* prefix)
{
    wchar_t dir[MAX_PATH + 1], file[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, dir);
    GetTempFileNameW(dir, prefix, 0, file);
    return file;
}

unsigned long long TimeOf(const FILETIME& t)
{
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

ProcessRun::ProcessRun(std::wstring programPath, std::wstring windowProperty, std::wstring standInLog)
    : programPath_(std::move(programPath)),
      windowProperty_(std::move(windowProperty)),
      standInLog_(standInLog.empty() ? TempFilePath(L"bsl") : standInLog),
      ownLog_(standInLog.empty())
{
}

ProcessRun::~ProcessRun()
{
    if (process_) {
        if (Running()) {
            TerminateProcess(process_, 99);
            WaitForSingleObject(process_, 5000);
        }
        CloseHandle(process_);
    }
    if (ownLog_)
        DeleteFileW(standInLog_.c_str());
}

bool ProcessRun::Start(const std::wstring& tail, const wchar_t* searchPath)
{
    SetEnvironmentVariableW(L"BROWSER_STANDIN_LOG", standInLog_.c_str());
    const std::wstring& exe = programPath_;
    std::wstring line = L"\"" + exe + L"\"" + (tail.empty() ? L"" : L" " + tail);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOW;  // as the control starts it
    PROCESS_INFORMATION pi = {};
    std::vector<wchar_t> environment;
    if (searchPath)
        environment = EnvironmentWithPath(searchPath);
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, searchPath ? CREATE_UNICODE_ENVIRONMENT : 0,
                        searchPath ? environment.data() : nullptr, nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    pid_ = pi.dwProcessId;
    return true;
}

FILETIME ProcessRun::Created() const
{
    FILETIME created = {}, exited, kernel, user;
    GetProcessTimes(process_, &created, &exited, &kernel, &user);
    return created;
}

bool ProcessRun::WaitExit(int timeoutMs)
{
    return process_ && WaitForSingleObject(process_, static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0;
}

bool ProcessRun::Running() const
{
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

DWORD ProcessRun::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    if (process_)
        GetExitCodeProcess(process_, &code);
    return code;
}

HWND AgentWindowOf(DWORD pid)
{
    WindowSearch s{pid, L"qelagent", nullptr};
    EnumWindows(FindProgramWindow, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

bool WaitNoAgentWindow(DWORD timeoutMs)
{
    return WaitFor("no agent window", timeoutMs, 50, [] { return !AgentWindowOf(0); });
}

HWND ProcessRun::WaitWindow(int timeoutMs) const
{
    if (!pid_)
        return nullptr;
    const std::string what = "the window of process " + std::to_string(pid_) + " with the property " +
                             Utf8(windowProperty_);
    HWND found = nullptr;
    // A program that ends ends the wait too.
    WaitFor(what.c_str(), static_cast<DWORD>(timeoutMs), 10, [&] {
        WindowSearch s{pid_, windowProperty_.c_str(), nullptr};
        EnumWindows(FindProgramWindow, reinterpret_cast<LPARAM>(&s));
        found = s.found;
        return found || !Running();
    });
    return found;
}
