// Win32 side of the program start: module file names and CreateProcessW.
#include "progstart.h"

#include <vector>

#include "owned_handle.h"
#include "utf16.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

HMODULE ThisModule()
{
    return reinterpret_cast<HMODULE>(&__ImageBase);
}

std::wstring ModuleFilePath(HMODULE module)
{
    std::vector<wchar_t> path(MAX_PATH + 1);
    for (;;) {
        DWORD n = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0)
            return std::wstring();
        if (n < path.size())
            return std::wstring(path.data(), n);
        if (path.size() > 32768)
            return std::wstring();
        path.resize(path.size() * 2);
    }
}

std::wstring ProgramPathBesideModule(HMODULE module, const wchar_t* baseName, const wchar_t* extension)
{
    return ToWide(ProgramPathBeside(ToU16(ModuleFilePath(module)), AsU16(baseName), AsU16(extension)));
}

bool StartProgram(const std::wstring& path, const wchar_t* arguments, int showCode, bool waitUntilReady)
{
    if (path.empty())
        return false;
    std::wstring command = ToWide(StartCommandLine(ToU16(path), AsU16(arguments ? arguments : L"")));
    std::vector<wchar_t> line(command.begin(), command.end());
    line.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    if (showCode != kNoShowCode) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showCode);
    }
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    // The thread's handle goes first.
    owners::OwnedHandle started(process.hProcess), thread(process.hThread);
    if (waitUntilReady)
        WaitForInputIdle(started.Get(), kProgramReadyWaitMs);
    return true;
}

bool StartProgramBeside(HMODULE module, const wchar_t* baseName, const wchar_t* extension, const wchar_t* arguments,
                        int showCode, bool waitUntilReady)
{
    return StartProgram(ProgramPathBesideModule(module, baseName, extension), arguments, showCode, waitUntilReady);
}
