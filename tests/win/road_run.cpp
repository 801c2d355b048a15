#include "road_run.h"

#include "agent_run.h"
#include "bench_files.h"

namespace {

struct Search {
    DWORD pid;
    int controlId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindows(HWND hwnd, LPARAM lp)
{
    auto* s = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == s->pid && IsWindowVisible(hwnd) && GetDlgItem(hwnd, s->controlId))
        s->found.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> WindowsWith(DWORD pid, int controlId)
{
    Search s{pid, controlId, {}};
    EnumWindows(CollectWindows, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HANDLE StartProcess(const std::wstring& exe, DWORD* pid)
{
    std::wstring line = L"\"" + exe + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return nullptr;
    CloseHandle(pi.hThread);
    *pid = pi.dwProcessId;
    return pi.hProcess;
}

}  // namespace

RoadRun::RoadRun(RunFolder& run, const std::wstring& subfolder, const std::wstring& program)
    : run_(run),
      folder_(run.Path() + subfolder),
      program_(program.empty() ? TestBinFolder() + L"road_host.exe" : program),
      log_(TempFilePath(L"rsl"))
{
}

RoadRun::~RoadRun()
{
    if (process_) {
        if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_, 99);
            WaitForSingleObject(process_, 5000);
        }
        CloseHandle(process_);
    }
    DeleteFileW(log_.c_str());
}

bool RoadRun::Start()
{
    CreateDirectoryW(folder_.c_str(), nullptr);
    if (!CopyFileW(program_.c_str(), (folder_ + L"pelorama.exe").c_str(), FALSE))
        return false;
    // The program's own pages when they lie beside it (the built pelorama's), else a small one.
    const std::wstring source = program_.substr(0, program_.find_last_of(L'\\') + 1);
    for (const wchar_t* page : {L"welcome.html", L"loading.html"})
        CopyFileW((source + page).c_str(), (folder_ + page).c_str(), FALSE);
    if (GetFileAttributesW((folder_ + L"loading.html").c_str()) == INVALID_FILE_ATTRIBUTES &&
        !WriteWholeFile(folder_ + L"loading.html", "<html><body>loading</body></html>"))
        return false;
    SetEnvironmentVariableW(L"BROWSER_STANDIN_LOG", log_.c_str());
    process_ = StartProcess(folder_ + L"pelorama.exe", &pid_);
    if (!process_)
        return false;
    boxes_.Start(pid_, {"ok"}, 32, 120000);
    for (DWORD waited = 0; waited < 15000; waited += 20) {
        // The main window, once the portal control has taken its placeholder's place.
        std::vector<HWND> found = WindowsWith(pid_, 1010);
        wchar_t name[32] = L"";
        if (!found.empty() && GetClassNameW(GetDlgItem(found[0], 1010), name, 32) && lstrcmpW(name, L"Static") != 0) {
            main_ = found[0];
            return true;
        }
        if (WaitForSingleObject(process_, 20) == WAIT_OBJECT_0)
            return false;
    }
    return false;
}

bool RoadRun::WaitExit(DWORD timeoutMs, DWORD* exitCode)
{
    if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0)
        return false;
    GetExitCodeProcess(process_, exitCode);
    return true;
}

bool RoadRun::Navigate(const std::wstring& address)
{
    return SendStandInCommand(Portal(), L"BeforeNavigate2 " + address);
}

HWND RoadRun::WaitDialog(DWORD timeoutMs) const
{
    for (DWORD waited = 0;; waited += 20) {
        std::vector<HWND> found = WindowsWith(pid_, 1014);
        if (!found.empty())
            return found[0];
        if (waited >= timeoutMs)
            return nullptr;
        Sleep(20);
    }
}

int RoadRun::WaitDialogCount() const
{
    return static_cast<int>(WindowsWith(pid_, 1014).size());
}

bool RoadRun::CompleteWaitPage(HWND waitDialog)
{
    return SendStandInCommand(GetDlgItem(waitDialog, 1014), L"DocumentComplete file:///loading.html");
}

bool RoadRun::WaitDialogGone(HWND waitDialog, DWORD timeoutMs) const
{
    for (DWORD waited = 0;; waited += 20) {
        if (!IsWindow(waitDialog))
            return true;
        if (waited >= timeoutMs)
            return false;
        Sleep(20);
    }
}

std::string RoadRun::WaitCancel(const std::wstring& address, DWORD timeoutMs) const
{
    const std::string head = "BeforeNavigate2 url=" + Utf8(address) + " cancel=";
    for (DWORD waited = 0;; waited += 20) {
        for (const StandInCall& c : Calls(1010))
            if (c.call == "Fired" && c.detail.compare(0, head.size(), head) == 0)
                return c.detail.substr(head.size());
        if (waited >= timeoutMs)
            return "";
        Sleep(20);
    }
}

std::vector<StandInCall> RoadRun::Calls(int id) const
{
    std::vector<StandInCall> out;
    for (const StandInCall& c : AllCalls())
        if (c.id == id)
            out.push_back(c);
    return out;
}

std::vector<StandInCall> RoadRun::AllCalls() const
{
    std::vector<StandInCall> out;
    for (const StandInCall& c : ReadStandInLog(log_))
        if (c.pid == pid_)
            out.push_back(c);
    return out;
}
