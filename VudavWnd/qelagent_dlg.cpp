#include "qelagent_dlg.h"

#include "agent_rules.h"
#include "link_win.h"
#include "resource.h"
#include "single_instance.h"
#include "utf16.h"
#include "worker.h"

namespace {

const UINT_PTR kWorkerTimer = 0;
const UINT kWorkerDelayMs = 500;

}  // namespace

CqelagentDlg::CqelagentDlg(const std::wstring& instanceName)
    : Dialog(IDD_QELAGENT_DIALOG),
      m_strInstanceName(instanceName),
      m_hIcon(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME)))
{
}

bool CqelagentDlg::ParseVudavCommandLine(const std::wstring& commandLine)
{
    m_strCommandLine = commandLine;
    std::u16string link;
    if (!VudavLinkFromCommandLine(ToU16(commandLine), link)) {
        MessageBoxW(nullptr, L"无有效效链接", L"澜影提示", MB_OK);
        return false;
    }
    m_strLink = ToWide(link);
    return true;
}

LRESULT CqelagentDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(wParam, lParam);
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        break;
    case WM_PAINT:
        if (OnPaint())
            return 0;
        break;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<LRESULT>(m_hIcon);
    case WM_CLOSE:
        EndDialog(IDOK);
        return 0;
    }
    return Dialog::OnMessage(message, wParam, lParam);
}

LRESULT CqelagentDlg::OnCreate(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = Dialog::OnMessage(WM_CREATE, wParam, lParam);
    if (result != -1)
        winui::MarkInstanceWindow(Handle(), m_strInstanceName.c_str());
    return result;
}

void CqelagentDlg::OnDestroy()
{
    winui::UnmarkInstanceWindow(Handle(), m_strInstanceName.c_str());
    if (m_link)
        m_link->DialogGone();  // a worker still handling the link no longer reaches us
}

BOOL CqelagentDlg::OnInitDialog()
{
    Dialog::OnInitDialog();
    m_browser.Create(*this, IDC_WELCOME_BROWSER);
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    GetClientRect(Handle(), &m_rcPlacement);
    MoveWindow(Handle(), 0, 0, 0, 0, TRUE);

    // The page loads hidden; the window stays at zero size until a document completes.
    m_browser.Navigate(ToWide(WelcomePageUrl()));
    m_browser.PutVisible(false);
    m_browser.Move(0, 0, 0, 0);

    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    SetTimer(kWorkerTimer, kWorkerDelayMs);
    return TRUE;
}

void CqelagentDlg::OnBrowserEvent(int controlId, DISPID dispid, winui::BrowserEventArgs&)
{
    if (controlId != IDC_WELCOME_BROWSER)
        return;
    switch (dispid) {
    case winui::browser_event::DocumentComplete:
        OnWelcomePageComplete();
        break;
    case winui::browser_event::DownloadBegin:
        break;
    }
}

void CqelagentDlg::OnWelcomePageComplete()
{
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    WindowPlacement p = WelcomeWindowPlacement(desktop.right - desktop.left, desktop.bottom - desktop.top);
    MoveWindow(Handle(), p.x, p.y, p.width, p.height, TRUE);
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());

    RECT client;
    GetClientRect(Handle(), &client);
    m_browser.PutTop(client.top);
    m_browser.PutLeft(client.left);
    m_browser.PutWidth(client.right - client.left);
    m_browser.PutHeight(client.bottom - client.top);
}

void CqelagentDlg::OnTimer(UINT_PTR)
{
    // Whichever timer fires, and however often: one worker per run.
    KillTimer(kWorkerTimer);
    if (m_link)
        return;
    m_link = MakeLinkContext(m_strLink, Handle());
    if (!winui::StartWorker([context = m_link] { VudavLinkThreadProc(context); }))
        PostMessageW(Handle(), WM_CLOSE, 0, 0);  // no worker will ever close the window
}

// The worker works on its own context: its copy of the link, the link's site code, and the
// window (the owner of its boxes) only while it lives. A foreign WM_CLOSE ends the program
// with the link in hand.
void CqelagentDlg::VudavLinkThreadProc(std::shared_ptr<LinkContext> context)
{
    HandleZflvLink(*context);
    context->SignalDone();
    context->PostToDialog(WM_CLOSE);
}

bool CqelagentDlg::OnPaint()
{
    return winui::PaintIconicDialog(Handle(), m_hIcon);
}
