#pragma once
// The update check: fetches the update description, compares the builds with update.ini,
// asks the user, and on consent runs the progress dialog with the job's flags set.
#include <windows.h>

// Runs the modal progress dialog of the update (g_updateJob holds the flags).
using ProgressDialogRunner = void (*)(HINSTANCE instance);

// Always 0, the program's exit code.
int RunUpdateCheck(HINSTANCE instance, ProgressDialogRunner runDialog);
