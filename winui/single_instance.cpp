#include "single_instance.h"

namespace winui {

bool ClaimFirstInstance(const wchar_t* name)
{
    HANDLE semaphore = CreateSemaphoreW(nullptr, 1, 1, name);
    if (GetLastError() != ERROR_ALREADY_EXISTS)
        return true;  // the handle stays open for the life of the process
    CloseHandle(semaphore);
    for (HWND hwnd = GetWindow(GetDesktopWindow(), GW_CHILD); IsWindow(hwnd);
         hwnd = GetWindow(hwnd, GW_HWNDNEXT)) {
        if (GetPropW(hwnd, name)) {
            ShowWindow(hwnd, SW_SHOWNORMAL);
            SetForegroundWindow(hwnd);
            SetForegroundWindow(GetLastActivePopup(hwnd));
            break;
        }
    }
    return false;
}

}  // namespace winui
