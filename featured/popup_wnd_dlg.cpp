#include "popup_wnd_dlg.h"

#include <shellapi.h>

#include "application.h"
#include "config/pelorama.h"
#include "progstart.h"
#include "resource.h"
#include "single_instance.h"

namespace {

const wchar_t kWindowText[] = L"精彩视频";
const int kWindowWidth = 527, kWindowHeight = 570;

std::wstring Widen(const char* ascii)
{
    return std::wstring(ascii, ascii + strlen(ascii));
}

// The name of the single-instance property: the application title.
std::wstring InstanceName()
{
    winui::Application* app = winui::Application::Current();
    return app && !app->Name().empty() ? app->Name() : L"Pelorama";
}

int Width(const RECT& r)
{
    return r.right - r.left;
}

int Height(const RECT& r)
{
    return r.bottom - r.top;
}

POINT PointOf(LPARAM lParam)
{
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

}  // namespace

CPoPupWndDlg::CPoPupWndDlg()
    : Dialog(IDD_POPUPWND_DIALOG),
      m_hIcon(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME)))
{
}

CPoPupWndDlg::~CPoPupWndDlg()
{
    if (m_hTrayIcon)
        DestroyIcon(m_hTrayIcon);
}

LRESULT CPoPupWndDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(wParam, lParam);
    case WM_PAINT:
        if (OnPaint())
            return 0;
        break;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<LRESULT>(m_hIcon);
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) >= IDC_BTN_CLOSE && LOWORD(wParam) <= IDC_CHK_DONTPOPUP) {
            OnCommand(LOWORD(wParam));
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(PointOf(lParam));
        break;
    case WM_LBUTTONUP:
        OnLButtonUp();
        break;
    case WM_LBUTTONDOWN:
        OnLButtonDown(PointOf(lParam));
        break;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_DESTROY:
        winui::UnmarkInstanceWindow(Handle(), InstanceName().c_str());
        break;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return OnCtlColor(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    }
    if (message == WM_TASKBARCREATED)
        return OnTaskbarCreated(wParam, lParam);
    if (message == WM_NOTIFYICON)
        return OnTrayNotify(wParam, lParam);
    return Dialog::OnMessage(message, wParam, lParam);
}

void CPoPupWndDlg::OnCommand(int id)
{
    switch (id) {
    case IDC_BTN_CLOSE: OnBtnClose(); break;
    case IDC_BTN_MINIMIZE: OnBtnMinimize(); break;
    case IDC_BTN_FORWARD: OnBtnForward(); break;
    case IDC_BTN_BACK: OnBtnBack(); break;
    case IDC_BTN_RELOAD: OnBtnReload(); break;
    case IDC_BTN_FORUM: OnBtnForum(); break;
    case IDC_CHK_DONTPOPUP: OnCheckDontPopup(); break;
    }
}

void CPoPupWndDlg::OnBrowserEvent(int controlId, DISPID dispid, winui::BrowserEventArgs& args)
{
    if (controlId != IDC_BROWSER_PORTAL)
        return;  // the welcome browser's events are not heard
    switch (dispid) {
    case winui::browser_event::ProgressChange:
    case winui::browser_event::DownloadBegin:
        break;
    case winui::browser_event::DownloadComplete:
        OnPortalDownloadComplete();
        break;
    case winui::browser_event::BeforeNavigate2:
        OnBeforeNavigate2(args);
        break;
    case winui::browser_event::DocumentComplete:
        OnPortalDocumentComplete();
        break;
    }
}

LRESULT CPoPupWndDlg::OnCreate(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = Dialog::OnMessage(WM_CREATE, wParam, lParam);
    if (result == -1)
        return -1;
    winui::MarkInstanceWindow(Handle(), InstanceName().c_str());
    return 0;
}

void CPoPupWndDlg::DestroyWindow()
{
    winui::UnmarkInstanceWindow(Handle(), InstanceName().c_str());
    ::DestroyWindow(Handle());
}

void CPoPupWndDlg::DoDataExchange(bool saveAndValidate)
{
    HWND dialog = Handle();
    if (!m_chkDontPopup) {
        m_btnClose.Attach(GetDlgItem(dialog, IDC_BTN_CLOSE));
        m_btnMinimize.Attach(GetDlgItem(dialog, IDC_BTN_MINIMIZE));
        m_btnForward.Attach(GetDlgItem(dialog, IDC_BTN_FORWARD));
        m_btnBack.Attach(GetDlgItem(dialog, IDC_BTN_BACK));
        m_btnReload.Attach(GetDlgItem(dialog, IDC_BTN_RELOAD));
        m_btnForum.Attach(GetDlgItem(dialog, IDC_BTN_FORUM));
        m_chkDontPopup = GetDlgItem(dialog, IDC_CHK_DONTPOPUP);
    }
    if (saveAndValidate)
        m_bDontPopup = SendMessageW(m_chkDontPopup, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    else
        SendMessageW(m_chkDontPopup, BM_SETCHECK, m_bDontPopup ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!m_browserPortal.IsCreated())
        m_browserPortal.Create(*this, IDC_BROWSER_PORTAL);
    if (!m_browserWelcome.IsCreated())
        m_browserWelcome.Create(*this, IDC_BROWSER_WELCOME);
}

std::wstring CPoPupWndDlg::ProfileString(UINT id) const
{
    wchar_t text[64];
    int n = LoadStringW(GetModuleHandleW(nullptr), id, text, 64);
    return std::wstring(text, n > 0 ? n : 0);
}

BOOL CPoPupWndDlg::OnInitDialog()
{
    Dialog::OnInitDialog();
    UpdateData(false);  // the controls are bound; the browsers take their places

    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    winui::Application* app = winui::Application::Current();
    m_bDontPopup = app && app->Profile().GetInt(ProfileString(IDS_PROFILE_SECTION).c_str(),
                                                 ProfileString(IDS_PROFILE_DONTPOPUP).c_str(), 0) != 0
                       ? 1
                       : 0;

    LoadFrameButtons();
    MoveWindow(Handle(), 0, 0, kWindowWidth, kWindowHeight, TRUE);

    RECT client;
    GetClientRect(Handle(), &client);
    PlaceFrameButtons(client);

    RECT box, label;
    HWND labelWindow = GetDlgItem(Handle(), IDC_LBL_DONTPOPUP);
    GetWindowRect(m_chkDontPopup, &box);
    GetWindowRect(labelWindow, &label);
    MoveWindow(m_chkDontPopup, client.left + 10, client.bottom - 21, Width(box), Height(box), TRUE);
    MoveWindow(labelWindow, client.left + 10 + Width(box) + 2, client.bottom - 18, Width(label), Height(label), TRUE);

    SetWindowRgn(Handle(), nullptr, FALSE);
    HRGN region = CreateRoundRectRgn(0, 0, client.right, client.bottom, 10, 10);
    if (region && !SetWindowRgn(Handle(), region, TRUE))
        DeleteObject(region);  // the window owns it only when it took it

    m_bDragging = 0;
    SetWindowTextW(Handle(), kWindowText);

    // The welcome page beside the program, by its UTF-16 path.
    m_browserWelcome.Navigate(ProgramPathBesideModule(nullptr, L"welcome", L"html"));
    m_browserWelcome.PutVisible(true);
    m_browserWelcome.Move(0, 0, 0, 0);
    LayOut(m_browserWelcome, client);

    // The portal loads at zero size; its document's completion brings it into view.
    m_browserPortal.Navigate(L"http://" + Widen(cfg::FeaturedPortalHost) + L"/");
    m_browserPortal.PutVisible(false);
    m_browserPortal.Move(0, 0, 0, 0);

    UpdateData(false);
    SetTrayIcon(true);
    return TRUE;
}

void CPoPupWndDlg::LoadFrameButtons()
{
    struct Row {
        winui::CMyButton& button;
        UINT normal, pressed, hover;
        const wchar_t* tip;
    } rows[] = {
        {m_btnClose, IDB_CLOSE_NORMAL, IDB_CLOSE_PRESSED, IDB_CLOSE_HOVER, L"关闭"},
        {m_btnMinimize, IDB_MINIMIZE_NORMAL, IDB_MINIMIZE_PRESSED, IDB_MINIMIZE_HOVER, L"最小化"},
        {m_btnForward, IDB_FORWARD_NORMAL, IDB_FORWARD_PRESSED, IDB_FORWARD_HOVER, L"转到下一页"},
        {m_btnBack, IDB_BACK_NORMAL, IDB_BACK_PRESSED, IDB_BACK_HOVER, L"转到上一页"},
        {m_btnReload, IDB_RELOAD_NORMAL, IDB_RELOAD_PRESSED, IDB_RELOAD_HOVER, L"重新载入页面"},
        {m_btnForum, IDB_FORUM_NORMAL, IDB_FORUM_PRESSED, IDB_FORUM_HOVER, L"转到论坛"},
    };
    for (Row& row : rows) {
        row.button.LoadBitmaps(row.normal, row.pressed, row.hover, 0);
        row.button.SizeToContent();
        row.button.SetToolTipText(row.tip);
    }
}

void CPoPupWndDlg::PlaceFrameButtons(const RECT& client)
{
    struct Place {
        winui::CMyButton& button;
        int x, y;
    } places[] = {
        {m_btnClose, client.right - 25, client.top + 3},   {m_btnMinimize, client.right - 45, client.top + 3},
        {m_btnBack, client.left + 110, client.top + 3},    {m_btnForward, client.left + 130, client.top + 3},
        {m_btnReload, client.left + 150, client.top + 3},  {m_btnForum, client.right - 37, client.bottom - 21},
    };
    for (const Place& p : places)
        SetWindowPos(p.button.Handle(), nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CPoPupWndDlg::LayOut(winui::BrowserHost& browser, const RECT& client)
{
    browser.PutTop(client.top + 24);
    browser.PutLeft(client.left + 6);
    browser.PutWidth(Width(client) - 12);
    browser.PutHeight(Height(client) - 47);
}

bool CPoPupWndDlg::OnPaint()
{
    return winui::PaintIconicDialog(Handle(), m_hIcon);
}

BOOL CPoPupWndDlg::OnEraseBkgnd(HDC dc)
{
    RECT client;
    GetClientRect(Handle(), &client);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, Width(client), Height(client));
    HGDIOBJ previousBitmap = SelectObject(memory, bitmap);

    HBRUSH ground = CreateSolidBrush(RGB(192, 192, 192));
    FillRect(memory, &client, ground);
    DeleteObject(ground);
    HBRUSH band = CreateSolidBrush(RGB(5, 6, 8));
    const RECT bands[] = {
        {client.left, client.top + 24, client.left + 6, client.bottom - 24},    // left
        {client.right - 6, client.top + 24, client.right, client.bottom - 24},  // right
        {client.left, client.bottom - 24, client.right, client.bottom},         // bottom
        {client.left, client.top, client.right, client.top + 24},               // top
    };
    for (const RECT& r : bands)
        FillRect(memory, &r, band);
    DeleteObject(band);

    HICON icon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 16, 16, LR_SHARED));
    DrawIconEx(memory, client.left + 8, client.top + 4, icon, 16, 16, 0, nullptr, DI_NORMAL);

    // The caption's rectangle follows the font of the context we were given.
    LOGFONTW current = {};
    GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof current, &current);
    RECT text = {client.left + 28, client.top + 5, client.left + 28 + 16 * current.lfWidth,
                 client.top + 5 + current.lfHeight};
    int previousMode = SetBkMode(memory, TRANSPARENT);
    COLORREF previousColour = SetTextColor(memory, RGB(255, 255, 255));
    HFONT font = CreateFontW(16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, L"隶书");
    HGDIOBJ previousFont = SelectObject(memory, font);
    DrawTextW(memory, kWindowText, -1, &text, DT_VCENTER | DT_END_ELLIPSIS);
    SetBkMode(memory, previousMode);
    SetTextColor(memory, previousColour);
    SelectObject(memory, previousFont);
    DeleteObject(font);

    BitBlt(dc, client.left, client.top, Width(client), Height(client), memory, 0, 0, SRCCOPY);
    SelectObject(memory, previousBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return TRUE;
}

LRESULT CPoPupWndDlg::OnCtlColor(UINT message, HDC dc, HWND control)
{
    const int id = GetDlgCtrlID(control);
    if (id != IDC_CHK_DONTPOPUP && id != IDC_LBL_DONTPOPUP)
        return Dialog::OnMessage(message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    return reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
}

void CPoPupWndDlg::OnClose()
{
    // A link's wait dialog is up inside the portal's event: it ends first, and the link road
    // closes the window once that event has returned.
    if (m_linkRoad.OnMainWindowClose())
        return;
    OnBtnClose();
}

void CPoPupWndDlg::OnBtnClose()
{
    SetTrayIcon(false);
    Dialog::OnCancel();
    DestroyWindow();
}

void CPoPupWndDlg::OnBtnMinimize()
{
    SendMessageW(Handle(), WM_SYSCOMMAND, SC_MINIMIZE, -1);
    ShowWindow(Handle(), SW_HIDE);
}

// Without history the browser call fails; that failure is dropped.
void CPoPupWndDlg::OnBtnForward()
{
    m_browserPortal.GoForward();
}

void CPoPupWndDlg::OnBtnBack()
{
    m_browserPortal.GoBack();
}

void CPoPupWndDlg::OnBtnReload()
{
    m_browserPortal.Move(0, 0, 0, 0);
    RECT client;
    GetClientRect(Handle(), &client);
    m_browserWelcome.PutVisible(true);
    m_browserWelcome.Move(0, 0, 0, 0);
    LayOut(m_browserWelcome, client);
    m_browserWelcome.Refresh();
    m_browserPortal.Refresh();
    m_bReloading = true;
}

void CPoPupWndDlg::OnBtnForum()
{
    const std::wstring forum = L"http://" + Widen(cfg::FeaturedForumHost) + L"/bbs/";
    ShellExecuteW(Handle(), L"Open", forum.c_str(), L"", L"", SW_SHOW);
}

void CPoPupWndDlg::OnCheckDontPopup()
{
    UpdateData(true);
    if (winui::Application* app = winui::Application::Current())
        app->Profile().WriteInt(ProfileString(IDS_PROFILE_SECTION).c_str(),
                                ProfileString(IDS_PROFILE_DONTPOPUP).c_str(), m_bDontPopup);
}

void CPoPupWndDlg::OnPortalDownloadComplete()
{
    if (!m_bReloading)
        return;
    OnPortalDocumentComplete();
    m_bReloading = false;
}

void CPoPupWndDlg::OnPortalDocumentComplete()
{
    m_browserWelcome.Move(0, 0, 0, 0);
    RECT client;
    GetClientRect(Handle(), &client);
    LayOut(m_browserPortal, client);
}

void CPoPupWndDlg::OnBeforeNavigate2(winui::BrowserEventArgs& args)
{
    m_linkRoad.OnBeforeNavigate2(args);
}

void CPoPupWndDlg::OnLButtonDown(POINT point)
{
    m_bDragging = 1;
    m_ptDragAnchor = point;
    SetCapture(Handle());
}

void CPoPupWndDlg::OnMouseMove(POINT point)
{
    if (!m_bDragging)
        return;
    ClientToScreen(Handle(), &point);
    RECT client;
    GetClientRect(Handle(), &client);
    MoveWindow(Handle(), point.x - m_ptDragAnchor.x, point.y - m_ptDragAnchor.y, Width(client), Height(client), TRUE);
}

void CPoPupWndDlg::OnLButtonUp()
{
    m_bDragging = 0;
    ReleaseCapture();
}
