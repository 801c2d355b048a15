#pragma once
// One running instance per logon: a named semaphore marks it, and its main window carries
// a window property of the same name.
#include <windows.h>

#include <functional>

namespace winui {

// The property `name` (value 1) marks the first instance's main window: set while the
// window is created, removed when it is destroyed.
void MarkInstanceWindow(HWND window, const wchar_t* name);
void UnmarkInstanceWindow(HWND window, const wchar_t* name);
// The first top-level window in Z order that carries the property `name`, else null.
HWND FindInstanceWindow(const wchar_t* name);

// Creates the semaphore `name` (initial and maximum count 1), held until the process
// ends, and returns true. When it exists already, shows the first top-level window that
// has the property `name` (SW_SHOWNORMAL), brings it and then its last active pop-up to
// the foreground, and returns false: this is a second instance.
bool ClaimFirstInstance(const wchar_t* name);
// The same, with each window brought to the foreground through bringForward in place of
// SetForegroundWindow (a test records the windows).
bool ClaimFirstInstance(const wchar_t* name, const std::function<void(HWND)>& bringForward);

}  // namespace winui
