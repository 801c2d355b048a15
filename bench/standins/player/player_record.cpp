#include "player_record.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "bench_files.h"
#include "wait_for.h"

namespace {

const wchar_t kPlayerClass[] = L"QELPlayerW_C179F3D9-F8B6-42bb-AC0C-D4A4BDAB8BB2";
const size_t kRecordBytes = 1540;

std::string Escape(const std::wstring& s)
{
    return EscapeLine(Utf8(s));
}

std::wstring Unescape(const std::string& s)
{
    return Wide(UnescapeLine(s));
}

// The value of "key=" in line up to the next blank, or up to the given stop text.
std::string Field(const std::string& line, const std::string& key, const char* stop = " ")
{
    size_t at = line.find(" " + key + "=");
    if (at == std::string::npos)
        return std::string();
    at += key.size() + 2;
    size_t end = line.find(stop, at);
    return line.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

std::wstring UnitsUpToZero(const unsigned char* p, size_t units)
{
    std::wstring r;
    for (size_t i = 0; i < units; ++i) {
        wchar_t c = static_cast<wchar_t>(p[2 * i] | (p[2 * i + 1] << 8));
        if (!c)
            break;
        r += c;
    }
    return r;
}

const char digits[] = "0123456789ABCDEF";

std::string Hex(uint64_t v)
{
    std::string r;
    do {
        r.insert(r.begin(), digits[v & 15]);
        v >>= 4;
    } while (v);
    return r;
}

std::vector<unsigned char> FromHex(const std::string& hex)
{
    std::vector<unsigned char> r;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        r.push_back(static_cast<unsigned char>(std::strtoul(hex.substr(i, 2).c_str(), nullptr, 16)));
    return r;
}

}  // namespace

namespace {

// The path with its file name's extension replaced by extension.
std::wstring WithExtension(std::wstring p, const wchar_t* extension)
{
    size_t dot = p.find_last_of(L'.');
    size_t slash = p.find_last_of(L"\\/");
    if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash))
        p.resize(dot);
    return p + extension;
}

}  // namespace

std::wstring OwnRecordPath()
{
    std::wstring record = EnvironmentValue(L"QEL_PLAYER_RECORD");
    if (!record.empty())
        return record;
    return RecorderRecordPath(ModulePath(nullptr));
}

std::wstring RecorderRecordPath(const std::wstring& programPath)
{
    return WithExtension(programPath, L".record");
}

std::wstring RecorderWindowFile(const std::wstring& programPath)
{
    return WithExtension(programPath, L".window");
}

void RecordOwnStart(const std::wstring& recordPath)
{
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    GetStartupInfoW(&si);
    int show = (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : -1;
    char head[64];
    std::snprintf(head, sizeof head, "start pid=%lu show=%d", static_cast<unsigned long>(GetCurrentProcessId()), show);
    AppendLine(recordPath, std::string(head) + " module=" + Escape(ModulePath(nullptr)) +
                           " cmdline=" + Escape(GetCommandLineW()));
}

void RecordCopyData(const std::wstring& recordPath, const COPYDATASTRUCT& data, WPARAM wParam)
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const uint64_t time = (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    std::string line = "copydata t=" + std::to_string(time) + " data=0x" + Hex(data.dwData) + " bytes=" + std::to_string(data.cbData) +
                       " wparam=0x" + Hex(wParam) + " raw=";
    const unsigned char* bytes = static_cast<const unsigned char*>(data.lpData);
    for (DWORD i = 0; bytes && i < data.cbData; ++i) {
        line += digits[bytes[i] >> 4];
        line += digits[bytes[i] & 15];
    }
    if (bytes && data.cbData == kRecordBytes) {
        int32_t site;
        std::memcpy(&site, bytes + 1536, 4);
        line += " site=" + std::to_string(site) + " address=" + Escape(UnitsUpToZero(bytes, 512)) +
                " title=" + Escape(UnitsUpToZero(bytes + 1024, 256));
    }
    AppendLine(recordPath, line);
}

void RecordClose(const std::wstring& recordPath)
{
    AppendLine(recordPath, "close");
}

PlayerRecord ReadPlayerRecord(const std::wstring& path)
{
    PlayerRecord record;
    std::string data = ReadWholeFile(path);
    size_t pos = 0, end;
    while ((end = data.find('\n', pos)) != std::string::npos) {
        std::string line = " " + data.substr(pos, end - pos);
        pos = end + 1;
        if (line.compare(0, 7, " start ") == 0) {
            PlayerStart s;
            s.pid = static_cast<DWORD>(std::strtoul(Field(line, "pid").c_str(), nullptr, 10));
            s.showCode = std::atoi(Field(line, "show").c_str());
            s.module = Unescape(Field(line, "module", " cmdline="));
            s.commandLine = Unescape(Field(line, "cmdline", "\n"));
            record.starts.push_back(s);
        } else if (line.compare(0, 10, " copydata ") == 0) {
            PlayerCopyData c;
            c.time = std::strtoull(Field(line, "t").c_str(), nullptr, 10);
            c.dataWord = std::strtoull(Field(line, "data").c_str(), nullptr, 16);
            c.byteCount = static_cast<uint32_t>(std::strtoul(Field(line, "bytes").c_str(), nullptr, 10));
            c.wParam = std::strtoull(Field(line, "wparam").c_str(), nullptr, 16);
            c.raw = FromHex(Field(line, "raw"));
            if (c.raw.size() == kRecordBytes) {
                c.isRecord = true;
                c.address = UnitsUpToZero(c.raw.data(), 512);
                c.title = UnitsUpToZero(c.raw.data() + 1024, 256);
                std::memcpy(&c.siteCode, c.raw.data() + 1536, 4);
            }
            record.copies.push_back(c);
        } else if (line == " close") {
            ++record.closes;
        }
    }
    return record;
}

namespace {

struct FindContext {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindOne(HWND window, LPARAM param)
{
    FindContext* ctx = reinterpret_cast<FindContext*>(param);
    wchar_t name[64];
    if (!GetClassNameW(window, name, 64) || std::wcscmp(name, kPlayerClass) != 0)
        return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (ctx->pid && pid != ctx->pid)
        return TRUE;
    ctx->found = window;
    return FALSE;
}

}  // namespace

HWND FindPlayerWindowOf(DWORD pid)
{
    FindContext ctx = {pid, nullptr};
    EnumWindows(FindOne, reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

void EndRecordedPlayers(const PlayerRecord& record, DWORD timeoutMs)
{
    for (const PlayerStart& start : record.starts) {
        HWND window = FindPlayerWindowOf(start.pid);
        HANDLE process = window ? OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, start.pid) : nullptr;
        if (!process)
            continue;
        PostMessageW(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) {
            TerminateProcess(process, 1);
            WaitForSingleObject(process, timeoutMs);
        }
        CloseHandle(process);
    }
}

bool WaitForRecord(const std::wstring& path, size_t count, bool starts, DWORD timeoutMs)
{
    const std::string what = std::to_string(count) + (starts ? " start(s)" : " copy message(s)") + " in " + Utf8(path);
    return WaitFor(what.c_str(), timeoutMs, 20, [&] {
        PlayerRecord r = ReadPlayerRecord(path);
        return (starts ? r.starts.size() : r.copies.size()) >= count;
    });
}

StandinPlayer::~StandinPlayer()
{
    if (!process_)
        return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

bool StandinPlayer::Start(const std::wstring& exe, const std::wstring& arguments, DWORD timeoutMs)
{
    std::wstring command = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    std::vector<wchar_t> line(command.begin(), command.end());
    line.push_back(0);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    pid_ = pi.dwProcessId;
    // An ended player ends the wait too.
    WaitFor("the stand-in player's window", timeoutMs, 20, [&] {
        window_ = FindPlayerWindowOf(pid_);
        return window_ || WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
    });
    return window_ != nullptr;
}

bool StandinPlayer::Close(DWORD timeoutMs)
{
    if (!process_)
        return false;
    if (window_)
        PostMessageW(window_, WM_CLOSE, 0, 0);
    bool ended = WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0;
    if (ended) {
        CloseHandle(process_);
        process_ = nullptr;
    }
    return ended;
}
