// Shows the updater's own progress dialog (dialog 102 of updater.exe, loaded as data) as it
// looks mid-download, for a screenshot: three list lines, the bar at 42 and its byte counts.
// Under shoot.sh it reports the window's size and where its static text and button draw.
//   updater_dialog_view.exe PATH\updater.exe
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "shot_report.h"

namespace {

// Where a control draws its text: its extent in the control's font, at the top left of the
// client area or centred in it; a pixel's margin around it.
RECT TextExtent(HWND control, bool centred)
{
    wchar_t text[128] = L"";
    GetWindowTextW(control, text, 128);
    RECT client = ShotClientArea(control);
    RECT extent = {0, 0, client.right - client.left, client.bottom - client.top};
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    DrawTextW(dc, text, -1, &extent, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    int x = client.left, y = client.top;
    if (centred) {
        x += (client.right - client.left - extent.right) / 2;
        y += (client.bottom - client.top - extent.bottom) / 2;
    }
    return {x - 1, y - 1, x + extent.right + 1, y + extent.bottom + 1};
}

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
        WriteShotReport(ShotSize(dialog) +
                        ShotTextArea(dialog, TextExtent(GetDlgItem(dialog, 1001), false), GetSysColor(COLOR_WINDOWTEXT)) +
                        ShotTextArea(dialog, TextExtent(GetDlgItem(dialog, IDCANCEL), true), GetSysColor(COLOR_BTNTEXT)));
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
