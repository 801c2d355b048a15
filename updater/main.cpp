// updater: checks the operator's update description and installs newer components.
#include <windows.h>

#include "update_check.h"

namespace {

void RunProgressDialog(HINSTANCE)
{
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    return RunUpdateCheck(instance, RunProgressDialog);
}
