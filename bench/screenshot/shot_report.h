#pragma once
// What a program under shoot.sh tells check_shot.py about its window: lines of the file that
// SUITE_SHOT_REPORT names, in the window's own coordinates (the picture's).
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench_files.h"

// "size=WxH": the window's size as the window reports it.
inline std::string ShotSize(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    char line[64];
    std::snprintf(line, sizeof line, "size=%ldx%ld\n", r.right - r.left, r.bottom - r.top);
    return line;
}

// "text=X,Y,W,H,RRGGBB": an area, in screen coordinates, that holds text of colour ink.
inline std::string ShotTextArea(HWND window, const RECT& area, COLORREF ink)
{
    RECT r;
    GetWindowRect(window, &r);
    char line[96];
    std::snprintf(line, sizeof line, "text=%ld,%ld,%ld,%ld,%02x%02x%02x\n", area.left - r.left, area.top - r.top,
                  area.right - area.left, area.bottom - area.top, GetRValue(ink), GetGValue(ink), GetBValue(ink));
    return line;
}

// A child's client area in screen coordinates.
inline RECT ShotClientArea(HWND control)
{
    RECT r;
    GetClientRect(control, &r);
    MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Writes the lines when the program runs under shoot.sh; true when there is nothing to write to.
inline bool WriteShotReport(const std::string& lines)
{
    const std::wstring file = EnvironmentValue(L"SUITE_SHOT_REPORT");
    return file.empty() || WriteWholeFile(file, lines);
}
