// The single-instance rule: the semaphore, the window property, the second start's walk.
#include "single_instance.h"

namespace winui {

void MarkInstanceWindow(HWND window, const wchar_t* name)
{
    SetPropW(window, name, reinterpret_cast<HANDLE>(1));
}

void UnmarkInstanceWindow(HWND window, const wchar_t* name)
{
    RemovePropW(window, name);
}

HWND FindInstanceWindow(const wchar_t* name)
{
    for (HWND hwnd = GetWindow(GetDesktopWindow(), GW_CHILD); IsWindow(hwnd); hwnd = GetWindow(hwnd, GW_HWNDNEXT))
        if (GetPropW(hwnd, name))
            return hwnd;
    return nullptr;
}

bool ClaimFirstInstance(const wchar_t* name)
{
    return ClaimFirstInstance(name, [](HWND hwnd) { SetForegroundWindow(hwnd); });
}

bool ClaimFirstInstance(const wchar_t* name, const std::function<void(HWND)>& bringForward)
{
    HANDLE semaphore = CreateSemaphoreW(nullptr, 1, 1, name);
    if (GetLastError() != ERROR_ALREADY_EXISTS)
        return true;  // the handle stays open for the life of the process
    CloseHandle(semaphore);
    if (HWND hwnd = FindInstanceWindow(name)) {
        ShowWindow(hwnd, SW_SHOWNORMAL);
        bringForward(hwnd);
        bringForward(GetLastActivePopup(hwnd));
    }
    return false;
}

}  // namespace winui
