#pragma once
// A key pressed and released on the keyboard, as the system delivers it to the focus window
// of the foreground thread (the system turns F1 into WM_HELP only for such keys).
#include <windows.h>

inline void PressKey(WORD key)
{
    INPUT keys[2] = {};
    for (INPUT& k : keys) {
        k.type = INPUT_KEYBOARD;
        k.ki.wVk = key;
    }
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}
