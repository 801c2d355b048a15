#include "link_road.h"

#include <windows.h>

#include <atomic>

#include "link_win.h"
#include "utf16.h"
#include "wait_dialog.h"
#include "worker.h"

namespace {

std::atomic<int> g_linksInHand{0};

void LinkThreadProc(std::shared_ptr<LinkContext> context)
{
    HandleZflvLink(*context);
    --g_linksInHand;
    context->SignalDone();
}

void WaitThreadProc(std::shared_ptr<LinkContext> context)
{
    if (!winui::StartWorker([context] { LinkThreadProc(context); })) {
        --g_linksInHand;
        context->SignalDone();
    }
    context->WaitDone();
    context->PostToDialog(WM_CLOSE);
}

}  // namespace

void StartLinkWorkers(std::shared_ptr<LinkContext> context)
{
    ++g_linksInHand;  // counted before any worker runs: the program's end sees it at once
    if (!winui::StartWorker([context] { WaitThreadProc(context); })) {
        --g_linksInHand;
        context->PostToDialog(WM_CLOSE);  // no worker will ever close the dialog
    }
}

bool LinkInHand()
{
    return g_linksInHand > 0;
}

void EndProcessIfLinkInHand(int code)
{
    if (LinkInHand())
        TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
}

void LinkRoad::OnBeforeNavigate2(winui::BrowserEventArgs& args)
{
    args.SetCancel(false);
    m_strLastUrl = args.Url();
    if (!IsZflvAddress(ToU16(m_strLastUrl)))
        return;
    if (m_pWaitDlg) {  // one link per wait dialog
        args.SetCancel(true);
        return;
    }
    // The link is taken now: frames navigating meanwhile change m_strLastUrl, not the link.
    auto context = MakeLinkContext(m_strLastUrl);
    context->ClearTimeout();
    CWaitDlg dialog(context);
    m_pWaitDlg = &dialog;
    dialog.DoModal();
    m_pWaitDlg = nullptr;
    args.SetCancel(true);
    // A close asked meanwhile is carried out by the main dialog's loop, after this event.
    if (m_bClosePending) {
        m_bClosePending = false;
        PostMessageW(m_mainWindow.Handle(), WM_CLOSE, 0, 0);
    }
}

bool LinkRoad::OnMainWindowClose()
{
    if (!m_pWaitDlg)
        return false;
    m_bClosePending = true;
    m_pWaitDlg->EndDialog(IDCANCEL);
    return true;
}
