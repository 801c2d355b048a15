#include "updater_support.h"

#include <commctrl.h>

#include <vector>

#include "bench_files.h"
#include "fixture_client.h"
#include "run_folder.h"

namespace {

const wchar_t kUserShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// One registry value as it was found: its type and bytes, or absent.
struct SavedValue {
    bool present = false;
    DWORD type = 0;
    std::vector<BYTE> data;
};
SavedValue g_saved[2];
const wchar_t* const kKeys[2] = {kUserShellFolders, kShellFolders};

SavedValue Save(const wchar_t* keyName)
{
    SavedValue v;
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyName, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return v;
    DWORD size = 0;
    if (RegQueryValueExW(key, L"AppData", nullptr, &v.type, nullptr, &size) == ERROR_SUCCESS) {
        v.data.resize(size);
        v.present = RegQueryValueExW(key, L"AppData", nullptr, &v.type, v.data.data(), &size) == ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return v;
}

bool Put(const wchar_t* keyName, const SavedValue& v)
{
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, keyName, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG rc = v.present ? RegSetValueExW(key, L"AppData", 0, v.type, v.data.data(), static_cast<DWORD>(v.data.size()))
                        : RegDeleteValueW(key, L"AppData");
    RegCloseKey(key);
    return rc == ERROR_SUCCESS || (!v.present && rc == ERROR_FILE_NOT_FOUND);
}

std::wstring UniqueTempFolder(const wchar_t* prefix)
{
    static LONG counter = 0;
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    return std::wstring(temp) + prefix + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(InterlockedIncrement(&counter)) + L"\\";
}

}  // namespace

AppDataFolder::~AppDataFolder()
{
    if (saved_) {
        for (int i = 0; i < 2; ++i)
            Put(kKeys[i], g_saved[i]);
    }
    if (!path_.empty())
        RemoveTree(path_);
}

bool AppDataFolder::Point(const std::wstring& folder)
{
    if (!saved_) {
        for (int i = 0; i < 2; ++i)
            g_saved[i] = Save(kKeys[i]);
        saved_ = true;
    }
    // The shell folder's value has no trailing backslash.
    const std::wstring value = folder.substr(0, folder.size() - 1);
    SavedValue v;
    v.present = true;
    v.type = REG_SZ;
    const BYTE* bytes = reinterpret_cast<const BYTE*>(value.c_str());
    v.data.assign(bytes, bytes + (value.size() + 1) * sizeof(wchar_t));
    return Put(kUserShellFolders, v) && Put(kShellFolders, v);
}

bool AppDataFolder::Create(bool withQelFolder)
{
    path_ = UniqueTempFolder(L"qelappdata-");
    if (!CreateDirectoryW(path_.c_str(), nullptr))
        return false;
    if (withQelFolder && !CreateDirectoryW(QelFolder().c_str(), nullptr))
        return false;
    return Point(path_);
}

bool AppDataFolder::PointAtMissingFolder()
{
    return Point(UniqueTempFolder(L"qelappdata-missing-"));
}

std::string AppDataFolder::Ini() const
{
    return ReadWholeFile(IniPath());
}

bool AppDataFolder::SetIni(const std::string& text) const
{
    DeleteFileW(IniPath().c_str());
    return text.empty() || WriteWholeFile(IniPath(), text);
}

const char kUpdateHost[] = "service.qelplayer.net";
const char kDescriptionPath[] = "/qel_webtest/player/flv/update/qel_update.xml";
const char kStatisticsPath[] = "/qel_webtest/player/flv/ip/ip_statistic.php";

bool ServeUpdateDescription(const std::string& text)
{
    return FixtureAddRoutes(std::string("{\"host\": \"") + kUpdateHost + "\", \"path\": \"" + kDescriptionPath +
                            "\", \"body_hex\": \"" + HexOf(text) + "\"}");
}

std::string Describe(bool single, const std::vector<UpdatePart>& parts)
{
    std::string text = single ? "" : "<root>1</root>";
    for (const UpdatePart& p : parts) {
        std::string fields = "<version>1</version><build>" + p.build + "</build><download>" + p.address +
                             "</download>" + (p.description.empty() ? "" : "<description>" + p.description +
                                                                               "</description>");
        text += single ? fields : std::string("<") + p.tag + ">" + fields + "</" + p.tag + ">";
    }
    return text;
}

std::string SetupAddress(const char* name)
{
    return std::string("http://") + kUpdateHost + "/setup/" + name;
}

bool ServeInstaller(const char* name, const std::string& extra)
{
    return FixtureAddRoutes(std::string("{\"host\": \"") + kUpdateHost + "\", \"path\": \"/setup/" + name +
                            "\", \"body_file\": \"" + JsonEscape(UnixPathOf(TestBinFolder() + L"standin_recorder.exe")) +
                            "\"" + extra + "}");
}

const ThreeComponentUpdate& UpdateOfThreeComponents()
{
    const std::string player = "\xe6\x92\xad\xe6\x94\xbe\xe5\x99\xa8\xe6\x9b\xb4\xe6\x96\xb0";  // 播放器更新
    const std::string genal = "genal \xe7\xbb\x84\xe4\xbb\xb6";                                 // genal 组件
    const std::wstring downloaded = L"更新程序下载完成";
    static const ThreeComponentUpdate update = {
        {{"player", "81126", SetupAddress("p.exe"), player},
         {"parser", "81127", SetupAddress("a.exe"), "parser"},
         {"genal", "81128", SetupAddress("g.exe"), genal}},
        {Wide(player), downloaded, L"parser", downloaded, Wide(genal), downloaded},
        {L"p.exe", L"a.exe", L"g.exe"},
        {"player_build=81126", "genal_build=81128", "parse_build=81127"},
    };
    return update;
}

std::vector<std::string> IniLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line[0] != '[')
            lines.push_back(line);
        at = end + 1;
    }
    return lines;
}

UpdaterRun::~UpdaterRun()
{
    if (process_) {
        if (Running())
            TerminateProcess(process_, 99);
        CloseHandle(process_);
    }
}

bool UpdaterRun::Start(const std::wstring& path)
{
    std::wstring line = L"\"" + path + L"\"";
    std::vector<wchar_t> buf(line.begin(), line.end());
    buf.push_back(0);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, buf.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    pid_ = pi.dwProcessId;
    return true;
}

bool UpdaterRun::WaitExit(int timeoutMs)
{
    return process_ && WaitForSingleObject(process_, static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0;
}

bool UpdaterRun::Running() const
{
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

DWORD UpdaterRun::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    if (process_)
        GetExitCodeProcess(process_, &code);
    return code;
}

namespace {

struct DialogSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindDialogOf(HWND window, LPARAM param)
{
    DialogSearch& s = *reinterpret_cast<DialogSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    wchar_t name[16] = {}, caption[32] = {};
    GetClassNameW(window, name, 16);
    GetWindowTextW(window, caption, 32);
    if (pid == s.pid && std::wstring(name) == L"#32770" && std::wstring(caption) == L"澜影更新程序") {
        s.found = window;
        return FALSE;
    }
    return TRUE;
}

std::wstring TextOf(HWND window)
{
    DWORD_PTR n = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &n))
        return std::wstring();
    std::vector<wchar_t> text(n + 1, 0);
    DWORD_PTR got = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, n + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000, &got);
    return std::wstring(text.data());
}

}  // namespace

HWND FindProgressDialog(DWORD pid)
{
    DialogSearch s = {pid, nullptr};
    EnumWindows(FindDialogOf, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

DialogView ReadProgressDialog(HWND dialog)
{
    DialogView v;
    if (!dialog || !IsWindow(dialog))
        return v;
    v.found = true;
    v.caption = TextOf(dialog);
    v.text = TextOf(GetDlgItem(dialog, 1001));
    DWORD_PTR pos = 0;
    if (SendMessageTimeoutW(GetDlgItem(dialog, 1000), PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 2000, &pos))
        v.position = static_cast<int>(pos);
    HWND list = GetDlgItem(dialog, 1003);
    DWORD_PTR count = 0;
    SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count);
    for (DWORD_PTR i = 0; i < count && count != static_cast<DWORD_PTR>(LB_ERR); ++i) {
        DWORD_PTR n = 0;
        SendMessageTimeoutW(list, LB_GETTEXTLEN, i, 0, SMTO_ABORTIFHUNG, 2000, &n);
        std::vector<wchar_t> line(n + 1, 0);
        DWORD_PTR got = 0;
        if (!SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()), SMTO_ABORTIFHUNG, 2000,
                                 &got) ||
            got == static_cast<DWORD_PTR>(LB_ERR))
            v.found = false;
        v.lines.push_back(line.data());
    }
    // A view read while the dialog went away is not whole.
    if (!IsWindow(dialog))
        v.found = false;
    return v;
}

DialogSampler::DialogSampler(DWORD pid) : pid_(pid)
{
    InitializeCriticalSection(&lock_);
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

DialogSampler::~DialogSampler()
{
    Stop();
    DeleteCriticalSection(&lock_);
}

DWORD WINAPI DialogSampler::Run(LPVOID param)
{
    DialogSampler& self = *static_cast<DialogSampler*>(param);
    while (!self.stop_) {
        HWND dialog = FindProgressDialog(self.pid_);
        if (dialog) {
            DialogView v = ReadProgressDialog(dialog);
            // A view read while the dialog went away is cut short: keep the fuller one.
            EnterCriticalSection(&self.lock_);
            if (v.found && v.lines.size() >= self.view_.lines.size())
                self.view_ = v;
            LeaveCriticalSection(&self.lock_);
        }
        Sleep(20);
    }
    return 0;
}

DialogView DialogSampler::Latest() const
{
    EnterCriticalSection(&lock_);
    DialogView v = view_;
    LeaveCriticalSection(&lock_);
    return v;
}

DialogView DialogSampler::Stop()
{
    if (thread_) {
        InterlockedExchange(&stop_, 1);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    return Latest();
}

std::string UnixPathOf(const std::wstring& windowsPath)
{
    std::string path = Utf8(windowsPath.substr(2));
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}
