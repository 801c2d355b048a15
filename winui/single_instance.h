#pragma once
// One running instance per logon: a named semaphore marks it, and its main window carries
// a window property of the same name.
#include <windows.h>

namespace winui {

// Creates the semaphore `name` (initial and maximum count 1), held until the process
// ends, and returns true. When it exists already, shows the first top-level window that
// has the property `name` (SW_SHOWNORMAL), brings it and then its last active pop-up to
// the foreground, and returns false: this is a second instance.
bool ClaimFirstInstance(const wchar_t* name);

}  // namespace winui
