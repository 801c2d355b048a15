#include "wait_dialog.h"

#include "link_road.h"
#include "link_win.h"
#include "progstart.h"
#include "wait_resource.h"

CWaitDlg::CWaitDlg(std::shared_ptr<LinkContext> context, winui::Window* parent)
    : Dialog(IDD_WAIT_DIALOG, parent), m_link(std::move(context))
{
}

LRESULT CWaitDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Timer 1 (the page time-out) is armed and killed here, on the dialog's own thread.
    if (HandleLinkRequest(*m_link, *this, message, wParam))
        return 0;
    switch (message) {
    case WM_CLOSE:
        EndDialog(IDCANCEL);
        return 0;
    case WM_DESTROY:
        m_link->DialogGone();  // the workers reach no dialog from now on
        break;
    }
    return Dialog::OnMessage(message, wParam, lParam);
}

BOOL CWaitDlg::OnInitDialog()
{
    Dialog::OnInitDialog();
    POINT origin = {0, 0};
    ClientToScreen(Handle(), &origin);
    MoveWindow(Handle(), origin.x, origin.y, kWaitDialogWidth, kWaitDialogHeight, TRUE);

    SetWindowRgn(Handle(), nullptr, FALSE);
    RECT client;
    GetClientRect(Handle(), &client);
    HRGN region = CreateRoundRectRgn(0, 0, client.right, client.bottom, kWaitDialogCorner, kWaitDialogCorner);
    if (region && !SetWindowRgn(Handle(), region, TRUE))
        DeleteObject(region);  // the window took it only on success

    m_link->AttachDialog(reinterpret_cast<uintptr_t>(Handle()));
    m_browser.Create(*this, IDC_WAIT_BROWSER);
    m_browser.Navigate(ProgramPathBesideModule(nullptr, L"loading", L"html"));
    m_browser.PutVisible(true);
    m_browser.Move(0, 0, 0, 0);
    m_browser.PutTop(client.top);
    m_browser.PutLeft(client.left);
    m_browser.PutWidth(client.right - client.left);
    m_browser.PutHeight(client.bottom - client.top);
    return TRUE;
}

void CWaitDlg::OnBrowserEvent(int controlId, DISPID dispid, winui::BrowserEventArgs&)
{
    if (controlId != IDC_WAIT_BROWSER)
        return;
    switch (dispid) {
    case winui::browser_event::DocumentComplete:
        OnWaitPageComplete();
        break;
    case winui::browser_event::DownloadComplete:
    case winui::browser_event::NavigateComplete2:
        break;
    }
}

// Whatever document completed, and however often: the link's workers start once.
void CWaitDlg::OnWaitPageComplete()
{
    if (m_link->TakeStart())
        StartLinkWorkers(m_link);
}
