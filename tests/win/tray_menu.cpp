// The icon's pop-up menu of a program under test (tray_menu.h).
#include "tray_menu.h"

namespace {
const UINT kNotifyIcon = RegisterWindowMessageW(L"MYWM_NOTIFYICON");
}

HWND WaitMenuWindow(DWORD pid)
{
    for (int i = 0; i < 500; ++i) {
        for (HWND hwnd = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); hwnd;
             hwnd = FindWindowExW(nullptr, hwnd, L"#32768", nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner == pid && IsWindowVisible(hwnd))
                return hwnd;
        }
        Sleep(10);
    }
    return nullptr;
}

HWND OpenTrayMenu(DWORD pid, HWND window)
{
    PostMessageW(window, kNotifyIcon, 128, WM_RBUTTONDOWN);
    return WaitMenuWindow(pid);
}

bool PickFromTrayMenu(DWORD pid, HWND window, int item)
{
    HWND menu = OpenTrayMenu(pid, window);
    if (!menu)
        return false;
    for (int i = 0; i < item; ++i)
        PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, item ? VK_RETURN : VK_ESCAPE, 0);
    for (int i = 0; i < 500 && IsWindow(menu) && IsWindowVisible(menu); ++i)
        Sleep(10);
    Sleep(200);
    return !IsWindow(menu) || !IsWindowVisible(menu);
}
