// Shows the updater's own progress dialog (dialog 102 of updater.exe, loaded as data) as it
// looks mid-download, for a screenshot: two list lines, the bar at 42 and its byte counts.
//   updater_dialog_view.exe PATH\updater.exe
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

namespace {

INT_PTR CALLBACK ViewProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SendDlgItemMessageW(dialog, 1000, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
        SendDlgItemMessageW(dialog, 1000, PBM_SETPOS, 42, 0);
        SetDlgItemTextW(dialog, 1001, L"840K / 2000K");
        SendDlgItemMessageW(dialog, 1003, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"澜影播放器 2.0 更新"));
        SendDlgItemMessageW(dialog, 1003, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"更新程序下载完成"));
        SendDlgItemMessageW(dialog, 1003, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"正在下载更新程序"));
        return TRUE;
    case WM_COMMAND:
        if (wParam == IDCANCEL) {
            EndDialog(dialog, 1);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int)
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc < 2)
        return 2;
    HMODULE updater = LoadLibraryExW(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!updater)
        return 3;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    return static_cast<int>(DialogBoxParamW(updater, MAKEINTRESOURCEW(102), nullptr, ViewProc, 0));
}
