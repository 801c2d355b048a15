#pragma once
// The agent's one window: topmost, at zero size until the welcome page has completed, then
// centred; it starts the worker that hands the link over, and closes when that is done.
#include <memory>
#include <string>

#include "browser_host.h"
#include "dialog.h"
#include "link_context.h"

class CqelagentDlg : public winui::Dialog {
public:
    // instanceName names the window property that marks the first instance.
    explicit CqelagentDlg(const std::wstring& instanceName);

    // Keeps the command line and takes the link from it; false after telling the user
    // that the line holds no link.
    bool ParseVudavCommandLine(const std::wstring& commandLine);

    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    void OnOK() override {}      // Enter leaves the window open
    void OnCancel() override {}  // so does Escape
    void OnBrowserEvent(int controlId, DISPID dispid, winui::BrowserEventArgs& args) override;

private:
    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    void OnDestroy();
    void OnTimer(UINT_PTR id);
    bool OnPaint();
    void OnWelcomePageComplete();
    static void VudavLinkThreadProc(std::shared_ptr<LinkContext> context);

    const std::wstring m_strInstanceName;
    RECT m_rcPlacement = {};
    std::wstring m_strLink;
    HICON m_hIcon;
    winui::BrowserHost m_browser;
    std::wstring m_strCommandLine;
    std::shared_ptr<LinkContext> m_link;  // the worker's context, once it runs
};
