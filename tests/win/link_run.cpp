#include "link_run.h"

bool AddDriver(RunFolder& run, const char* build, const std::wstring& program)
{
    return run.AddProgram(TestBinFolder() + L"link_driver_" + Wide(build) + L".exe", program);
}

HANDLE StartDriver(RunFolder& run, const std::wstring& program, const std::wstring& link)
{
    std::wstring linkFile = run.Parent() + L"link.txt";
    if (!WriteWholeFile(linkFile, Utf8(link)))
        return nullptr;
    std::wstring exe = run.Path() + program;
    std::wstring command = L"\"" + exe + L"\" \"" + linkFile + L"\"";
    std::vector<wchar_t> line(command.begin(), command.end());
    line.push_back(0);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, run.Path().c_str(), &si, &pi))
        return nullptr;
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

DriverResult RunDriver(RunFolder& run, const std::wstring& program, const std::wstring& link, DWORD timeoutMs)
{
    DriverResult result;
    HANDLE process = StartDriver(run, program, link);
    if (!process)
        return result;
    // More boxes than any case raises: each is answered and reported, none is left waiting.
    BoxWatcher watcher;
    watcher.Start(GetProcessId(process), {"ok"}, 16, static_cast<int>(timeoutMs));
    result.ended = WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
    if (!result.ended)
        TerminateProcess(process, 99);
    GetExitCodeProcess(process, &result.exitCode);
    CloseHandle(process);
    watcher.Wait(2000);
    result.boxes = watcher.Reports();
    return result;
}
