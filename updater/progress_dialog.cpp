// The progress dialog: its procedure, the progress callback and the modal run.
#include "progress_dialog.h"

#include <commctrl.h>

#include "resource.h"
#include "update_state.h"
#include "worker_rules.h"

HWND g_hProgressDlg = nullptr;

namespace {

// Set on the main thread when the user cancels.
bool g_cancelled = false;

}  // namespace

INT_PTR CALLBACK UpdateDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: {
        SendDlgItemMessageW(dialog, IDC_PROGRESS, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
        g_hProgressDlg = dialog;
        g_updateJob.dialog = dialog;
        HANDLE worker = CreateThread(nullptr, 0, UpdateWorker, &g_updateJob, 0, nullptr);
        if (worker)
            CloseHandle(worker);
        return TRUE;
    }
    case WM_COMMAND:
        if (wParam == IDCANCEL) {
            g_cancelled = true;
            EndDialog(dialog, 1);
            return TRUE;
        }
        return FALSE;
    case kHideProgressDialog:
        ShowWindow(dialog, SW_HIDE);
        return TRUE;
    case kEndProgressDialog:
        EndDialog(dialog, 1);
        return TRUE;
    }
    return FALSE;
}

namespace {

// The progress calls and what reaches the dialog, on the worker thread only.
ProgressThrottle g_throttle;
uint32_t g_lastTotal = 0, g_lastDone = 0;

void ShowProgress(uint32_t total, uint32_t done)
{
    uint32_t position = 0;
    if (ProgressPosition(total, done, position))
        SendMessageW(GetDlgItem(g_hProgressDlg, IDC_PROGRESS), PBM_SETPOS, position, 0);
    const std::string text = ProgressText(total, done);
    const std::wstring wide(text.begin(), text.end());
    SendMessageW(GetDlgItem(g_hProgressDlg, IDC_PROGRESS_TEXT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

}  // namespace

void OnDownloadProgress(uint32_t total, uint32_t done)
{
    g_lastTotal = total;
    g_lastDone = done;
    uint32_t position = 0;
    ProgressPosition(total, done, position);
    if (g_throttle.Show(done, position, GetTickCount()))
        ShowProgress(total, done);
}

void ShowHeldBackProgress()
{
    if (g_throttle.TakeHeldBack(GetTickCount()))
        ShowProgress(g_lastTotal, g_lastDone);
}

void RunProgressDialog(HINSTANCE instance)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_UPDATE_PROGRESS), nullptr, UpdateDlgProc, 0);
    // The worker may be inside a download or a message to the dialog: end here, before the
    // program's exit releases what the worker uses, and without waiting for it.
    if (g_cancelled)
        TerminateProcess(GetCurrentProcess(), 0);
}
