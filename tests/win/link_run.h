#pragma once
// Runs link_driver_<build>.exe (the link handling as a program runs it) from a run folder on
// one link, answering the boxes it raises with boxwatch.
#include <windows.h>

#include <string>
#include <vector>

#include "boxwatch_client.h"
#include "run_folder.h"

struct DriverResult {
    bool ended = false;
    DWORD exitCode = 0;  // the link's site code as the handling left it
    std::vector<BoxReport> boxes;
};

// Copies link_driver_pelorama.exe or link_driver_agent.exe into the run folder as program.
bool AddDriver(RunFolder& run, const char* build, const std::wstring& program);

// Starts program from the run folder on link and waits (at most timeoutMs) for it to end;
// every box is answered "ok" and reported.
DriverResult RunDriver(RunFolder& run, const std::wstring& program, const std::wstring& link,
                       DWORD timeoutMs = 60000);

// Starts it the same way and returns its process at once (the caller waits and closes it).
HANDLE StartDriver(RunFolder& run, const std::wstring& program, const std::wstring& link);
