#include "standin_log.h"

#include <cwchar>

namespace {

std::string Utf8(const std::wstring& s)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), &out[0], n, nullptr, nullptr);
    return out;
}

}  // namespace

std::wstring Hex(ULONG_PTR value)
{
    wchar_t buf[32];
    swprintf(buf, 32, L"0x%llX", static_cast<unsigned long long>(value));
    return buf;
}

std::wstring RectText(const RECT& r)
{
    return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," +
           std::to_wstring(r.right) + L"," + std::to_wstring(r.bottom);
}

void StandInLog(HWND control, const std::wstring& call)
{
    wchar_t path[MAX_PATH];
    DWORD n = GetEnvironmentVariableW(L"BROWSER_STANDIN_LOG", path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    unsigned long long t = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    int id = control && IsWindow(control) ? GetDlgCtrlID(control) : 0;
    std::wstring line = L"t=" + std::to_wstring(t) + L" pid=" + std::to_wstring(GetCurrentProcessId()) +
                        L" hwnd=" + Hex(reinterpret_cast<ULONG_PTR>(control)) + L" id=" +
                        std::to_wstring(id) + L" " + call;
    for (auto& c : line)
        if (c == L'\r' || c == L'\n')
            c = L' ';
    std::string bytes = Utf8(line) + "\n";
    HANDLE f = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
}
