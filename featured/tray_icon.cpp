// The notification-area icon of the main window: its record, its tip, its menu.
#include "popup_wnd_dlg.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "link_win.h"
#include "resource.h"

namespace {

const UINT kTrayIconId = IDR_MAINFRAME;
const DWORD kNotifyIconSize = 952;  // the record that ends with the item identifier
const UINT kMenuOpen = 1, kMenuPlayer = 2, kMenuExit = 3;

NOTIFYICONDATAW Record(HWND window)
{
    NOTIFYICONDATAW data;
    memset(&data, 0, sizeof data);
    data.cbSize = kNotifyIconSize;
    data.hWnd = window;
    data.uID = kTrayIconId;
    return data;
}

void CopyTip(NOTIFYICONDATAW& data, const std::wstring& text)
{
    const size_t n = std::min(text.size(), sizeof data.szTip / sizeof data.szTip[0] - 1);
    wmemcpy(data.szTip, text.data(), n);
    data.szTip[n] = L'\0';
}

}  // namespace

// Registered before any window exists, kept for the life of the process.
const winui::RegisteredMessage CPoPupWndDlg::WM_TASKBARCREATED(L"TaskbarCreated");
const winui::RegisteredMessage CPoPupWndDlg::WM_NOTIFYICON(L"MYWM_NOTIFYICON");

void CPoPupWndDlg::SetTrayIcon(bool add)
{
    const bool wasVisible = IsWindowVisible(Handle()) != 0;
    ShowWindow(Handle(), SW_HIDE);
    NOTIFYICONDATAW data = Record(Handle());
    if (add && !m_bTrayIcon) {
        if (!m_hTrayIcon)  // loaded once, freed with the window object
            m_hTrayIcon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME),
                                                        IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
        data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        data.uCallbackMessage = WM_NOTIFYICON;
        data.hIcon = m_hTrayIcon;
        CopyTip(data, L"pelorama");
        Shell_NotifyIconW(NIM_ADD, &data);
        m_bTrayIcon = 1;  // whatever the shell answered
    } else if (!add && m_bTrayIcon) {
        Shell_NotifyIconW(NIM_DELETE, &data);
        m_bTrayIcon = 0;
    }
    if (wasVisible)
        ShowWindow(Handle(), SW_SHOW);
}

void CPoPupWndDlg::UpdateTrayTip(std::wstring text)
{
    NOTIFYICONDATAW data = Record(Handle());
    data.uFlags = NIF_TIP;
    CopyTip(data, text);
    Shell_NotifyIconW(NIM_MODIFY, &data);
}

LRESULT CPoPupWndDlg::OnTaskbarCreated(WPARAM, LPARAM)
{
    m_bTrayIcon = 0;
    SetTrayIcon(true);
    return 0;
}

LRESULT CPoPupWndDlg::OnTrayNotify(WPARAM wParam, LPARAM lParam)
{
    if (wParam != kTrayIconId)
        return -1;
    switch (static_cast<UINT>(lParam)) {
    case WM_MOUSEMOVE: {
        wchar_t text[256] = {};
        GetWindowTextW(Handle(), text, 256);
        UpdateTrayTip(text);
        break;
    }
    case WM_LBUTTONDOWN:
        if (IsWindowVisible(Handle())) {
            ShowWindow(Handle(), SW_HIDE);
            SendMessageW(Handle(), WM_SYSCOMMAND, SC_MINIMIZE, -1);
            ShowWindow(Handle(), SW_HIDE);
        } else {
            ShowWindow(Handle(), SW_SHOW);
            PostMessageW(Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
            SetForegroundWindow(Handle());
        }
        break;
    case WM_LBUTTONDBLCLK:
        ShowWindow(Handle(), SW_SHOW);
        PostMessageW(Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
        SetForegroundWindow(Handle());
        break;
    case WM_RBUTTONDOWN:
        TrackTrayMenu();
        break;
    }
    return 0;
}

void CPoPupWndDlg::TrackTrayMenu()
{
    POINT cursor = {};
    GetCursorPos(&cursor);
    SetForegroundWindow(Handle());
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, kMenuOpen, L"打开精彩视频");
    AppendMenuW(menu, MF_STRING, kMenuPlayer, L"打开澜影播放器");
    AppendMenuW(menu, MF_STRING, kMenuExit, L"退出精彩视频");
    const UINT command = TrackPopupMenu(menu, TPM_RETURNCMD, cursor.x, cursor.y, 0, Handle(), nullptr);
    switch (command) {
    case kMenuOpen:
        PostMessageW(Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
        SetForegroundWindow(Handle());
        break;
    case kMenuPlayer:
        // Started as the link handling starts it; its outcome is not looked at.
        (void)StartPlayerBesideProgram();
        break;
    case kMenuExit:
        OnClose();  // during a link, once the portal's event has returned
        break;
    }
    DestroyMenu(menu);
}
