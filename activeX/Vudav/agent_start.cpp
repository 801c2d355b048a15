// Program start for the control. This file is the one place to switch to the suite's shared
// program start (same path rule, UTF-16, quoted path, show code kept) once that is in.
#include "agent_start.h"

#include <vector>

#include "agent_command.h"
#include "comserver/module.h"
#include "comserver/wide.h"

bool StartProgramBesideModule(HMODULE module, const wchar_t* baseName, const wchar_t* extension,
                              const std::u16string& arguments, int showCode)
{
    std::wstring modulePath = comserver::ModuleFileName(module);
    if (modulePath.empty())
        return false;
    std::wstring program = comserver::ToWide(ProgramPathBeside(
        comserver::ToU16(modulePath), comserver::ToU16(baseName), comserver::ToU16(extension)));
    std::wstring line = L"\"" + program + L"\"" + comserver::ToWide(arguments);
    std::vector<wchar_t> writable(line.begin(), line.end());
    writable.push_back(L'\0');

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCode);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}
