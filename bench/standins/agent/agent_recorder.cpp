// Stand-in link agent: records how it was started and exits. The record lies beside the program,
// named after its file with ".record" added: UTF-16 text, the show code it was given (-1 for none),
// a line feed, then its whole command line. It appears at once, complete (written aside, then
// renamed into place).
#include <windows.h>

#include <string>
#include <vector>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    std::vector<wchar_t> self(32768);
    DWORD length = GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size()));
    if (length == 0 || length >= self.size())
        return 1;
    std::wstring record(self.data(), length);
    record += L".record";
    std::wstring aside = record + L".part";

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
    std::wstring text = std::to_wstring(show) + L"\n" + GetCommandLineW();

    HANDLE file = CreateFileW(aside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 2;
    DWORD written = 0;
    DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    BOOL ok = WriteFile(file, text.data(), bytes, &written, nullptr) && written == bytes;
    CloseHandle(file);
    if (!ok || !MoveFileExW(aside.c_str(), record.c_str(), MOVEFILE_REPLACE_EXISTING))
        return 3;
    return 0;
}
