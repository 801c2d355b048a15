#pragma once
// The help engine's requests of a program's window code run in the test's own process,
// recorded in place of the system's engine (which would start the help viewer).
#include <windows.h>

#include <string>
#include <vector>

#include "application.h"

struct HelpRequest {
    HWND window;
    std::wstring file;
    UINT command;
    ULONG_PTR context;
};

// Records into requests; answers as an engine that cannot start.
inline void RecordHelpRequests(winui::Application& app, std::vector<HelpRequest>& requests)
{
    app.SetHelpEngine([&requests](HWND window, const wchar_t* file, UINT command, ULONG_PTR context) {
        requests.push_back({window, file, command, context});
        return FALSE;
    });
}
