#pragma once
// The wait dialog: a small rounded window over the main dialog's corner that shows the
// loading page while one link is handled. When the page has loaded it starts the link's
// workers (once); the wait worker closes it when the handling is done. Its timer 1 is the
// link's page time-out, armed and killed at the workers' request on this thread.
#include <memory>

#include "browser_host.h"
#include "dialog.h"
#include "link_context.h"

class CWaitDlg : public winui::Dialog {
public:
    // With no parent the dialog is owned by the application's main window.
    explicit CWaitDlg(std::shared_ptr<LinkContext> context, winui::Window* parent = nullptr);

    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    void OnOK() override {}      // Enter leaves the dialog open
    void OnCancel() override {}  // so does Escape
    void OnBrowserEvent(int controlId, DISPID dispid, winui::BrowserEventArgs& args) override;

private:
    void OnWaitPageComplete();

    std::shared_ptr<LinkContext> m_link;
    winui::BrowserHost m_browser;
};

// The wait dialog's size in pixels and the corner ellipse of its region.
constexpr int kWaitDialogWidth = 240;
constexpr int kWaitDialogHeight = 102;
constexpr int kWaitDialogCorner = 20;
