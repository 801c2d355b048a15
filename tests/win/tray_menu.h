#pragma once
// The notification-area icon's pop-up menu of a program under test, driven as the shell and
// a user would: the icon's callback posted to the program's window, keys posted to the menu.
#include <windows.h>

// The visible pop-up menu window of process pid; null when none shows within five seconds.
HWND WaitMenuWindow(DWORD pid);
// Posts the icon's right-button press (icon 128) to window and returns the menu that opens.
HWND OpenTrayMenu(DWORD pid, HWND window);
// Opens the menu and picks item `item` (1 to 3) with the arrow keys and Enter, or dismisses
// it with Escape (item 0). True when the menu came up and went away.
bool PickFromTrayMenu(DWORD pid, HWND window, int item);
