// Until the link handling is compiled into the agent: records each link handed over.
// With QELAGENT_HANDOVER_RECORD naming a file, appends (UTF-8)
//   start t=<system time, 100 ns units> owner=0x<window> link=<link>
// then waits QELAGENT_HANDOVER_HOLD_MS milliseconds (none without it), and appends
//   done t=<...> link=<link>
#include "link_handover.h"

#include <cwchar>
#include <string>

namespace {

std::wstring Environment(const wchar_t* name)
{
    wchar_t value[MAX_PATH];
    DWORD n = GetEnvironmentVariableW(name, value, MAX_PATH);
    return n && n < MAX_PATH ? std::wstring(value, n) : std::wstring();
}

void Record(const std::wstring& path, const std::wstring& line)
{
    if (path.empty())
        return;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    unsigned long long t = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    size_t blank = line.find(L' ');
    std::wstring text = line.substr(0, blank) + L" t=" + std::to_wstring(t) + line.substr(blank) + L"\n";
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string bytes(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &bytes[0], n, nullptr,
                        nullptr);
    HANDLE f = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
}

}  // namespace

void HandOverLink(winui::LinkContext& context)
{
    const std::wstring path = Environment(L"QELAGENT_HANDOVER_RECORD");
    wchar_t owner[32];
    swprintf(owner, 32, L"0x%llX", static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(context.Owner())));
    Record(path, L"start owner=" + std::wstring(owner) + L" link=" + context.Link());
    const std::wstring hold = Environment(L"QELAGENT_HANDOVER_HOLD_MS");
    if (!hold.empty())
        Sleep(static_cast<DWORD>(std::wcstoul(hold.c_str(), nullptr, 10)));
    Record(path, L"done link=" + context.Link());
}
