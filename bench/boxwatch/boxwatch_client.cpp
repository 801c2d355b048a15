#include "boxwatch_client.h"

#include <cstdlib>

namespace {

std::wstring Widen(const std::string& s) {
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring r(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), &r[0], n);
    return r;
}

std::string Unescape(const std::string& s) {
    std::string r;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            char c = s[++i];
            r += c == 'n' ? '\n' : c == 'r' ? '\r' : c;
        } else {
            r += s[i];
        }
    }
    return r;
}

std::wstring OwnFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

std::wstring TempLog() {
    wchar_t dir[MAX_PATH + 1], file[MAX_PATH + 1];
    if (!GetTempPathW(MAX_PATH + 1, dir) || !GetTempFileNameW(dir, L"bxw", 0, file)) return {};
    return file;
}

// "BOX caption=<c> text=<t> owner=<o> buttons=<b> answered=<a>": the last three hold no
// spaces, so they are split off from the right; caption and text split at the first " text=".
bool ParseLine(const std::string& line, BoxReport& r) {
    const std::string head = "BOX caption=";
    if (line.compare(0, head.size(), head) != 0) return false;
    size_t answered = line.rfind(" answered=");
    size_t buttons = line.rfind(" buttons=", answered);
    size_t owner = line.rfind(" owner=", buttons);
    size_t text = line.find(" text=", head.size());
    if (answered == std::string::npos || buttons == std::string::npos ||
        owner == std::string::npos || text == std::string::npos || text > owner)
        return false;
    r.caption = Widen(Unescape(line.substr(head.size(), text - head.size())));
    r.text = Widen(Unescape(line.substr(text + 6, owner - text - 6)));
    std::string o = line.substr(owner + 7, buttons - owner - 7);
    r.owner = static_cast<std::uintptr_t>(std::strtoull(o.c_str(), nullptr, 16));
    r.ownerSameProcess = o.find("(same)") != std::string::npos;
    r.buttons = line.substr(buttons + 9, answered - buttons - 9);
    r.answered = line.substr(answered + 10);
    return true;
}

}  // namespace

BoxWatcher::~BoxWatcher() {
    Stop();
    if (!log_.empty()) DeleteFileW(log_.c_str());
}

void BoxWatcher::Stop() {
    if (!process_) return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) TerminateProcess(process_, 1);
    CloseHandle(process_);
    process_ = nullptr;
}

bool BoxWatcher::Start(DWORD pid, std::vector<std::string> answers, int count, int timeoutMs) {
    Stop();
    exitCode_ = -1;
    if (log_.empty()) log_ = TempLog();
    if (log_.empty() || answers.empty()) return false;

    std::wstring exe = OwnFolder() + L"boxwatch.exe";
    std::wstring cmd = L"\"" + exe + L"\" --pid " + std::to_wstring(pid);
    for (const auto& a : answers) cmd += L" --answer " + Widen(a);
    cmd += L" --count " + std::to_wstring(count) + L" --timeout-ms " + std::to_wstring(timeoutMs) +
           L" --log \"" + log_ + L"\"";

    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return false;
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    return true;
}

bool BoxWatcher::Wait(int timeoutMs) {
    if (!process_) return exitCode_ == 0;
    if (WaitForSingleObject(process_, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) return false;
    DWORD code = 1;
    GetExitCodeProcess(process_, &code);
    exitCode_ = static_cast<int>(code);
    CloseHandle(process_);
    process_ = nullptr;
    return exitCode_ == 0;
}

std::vector<BoxReport> BoxWatcher::Reports() const {
    std::vector<BoxReport> reports;
    HANDLE f = CreateFileW(log_.c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return reports;
    std::string data;
    char buf[4096];
    DWORD n = 0;
    while (ReadFile(f, buf, sizeof buf, &n, nullptr) && n) data.append(buf, n);
    CloseHandle(f);
    size_t pos = 0, end;
    while ((end = data.find('\n', pos)) != std::string::npos) {
        BoxReport r;
        if (ParseLine(data.substr(pos, end - pos), r)) reports.push_back(r);
        pos = end + 1;
    }
    return reports;
}
