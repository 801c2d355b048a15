#pragma once
// The progress dialog of the update (dialog 102) and the worker that performs the update
// behind it.
#include <windows.h>

#include <cstdint>

// The worker's two requests to the dialog: hide it (sent, so that it is hidden before the
// second prompt) and end it (posted; the worker touches nothing afterwards).
constexpr UINT kHideProgressDialog = WM_APP + 1;
constexpr UINT kEndProgressDialog = WM_APP + 2;

extern HWND g_hProgressDlg;

INT_PTR CALLBACK UpdateDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void OnDownloadProgress(uint32_t total, uint32_t done);
// After a download has ended: shows its last progress call when that was held back.
void ShowHeldBackProgress();
DWORD WINAPI UpdateWorker(LPVOID job);

// Runs dialog 102 modally. After Cancel the program ends at once, wherever the worker is.
void RunProgressDialog(HINSTANCE instance);
