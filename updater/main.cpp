// updater: checks the operator's update description and installs newer components.
#include <windows.h>

#include "progress_dialog.h"
#include "update_check.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    return RunUpdateCheck(instance, RunProgressDialog);
}
