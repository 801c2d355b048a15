#pragma once
// pelorama's road from a click in the portal to the link handling. The main dialog holds
// one LinkRoad and hands it every BeforeNavigate2 of its portal browser:
//
//   LinkRoad m_linkRoad{*this, m_strLastUrl};            // member of the main dialog
//   case winui::browser_event::BeforeNavigate2:          // in OnBrowserEvent, control 1010
//       m_linkRoad.OnBeforeNavigate2(args);
//   if (m_linkRoad.OnMainWindowClose()) return;          // on WM_CLOSE, before closing
//   EndProcessIfLinkInHand(0);                           // once the main dialog is gone
//
// A "zflv://" address is held back: its link is taken by value into a context of its own
// and handled while a modal wait dialog shows; the navigation is then cancelled.
#include <memory>
#include <string>

#include "browser_events.h"
#include "link_context.h"
#include "window.h"

class CWaitDlg;

class LinkRoad {
public:
    // mainWindow: the dialog whose portal navigates; lastUrl receives the address of every
    // navigation (its m_strLastUrl).
    LinkRoad(winui::Window& mainWindow, std::wstring& lastUrl) : m_mainWindow(mainWindow), m_strLastUrl(lastUrl) {}
    LinkRoad(const LinkRoad&) = delete;
    LinkRoad& operator=(const LinkRoad&) = delete;

    // Every navigation of the portal browser, of whatever frame: the cancel flag cleared,
    // the address kept; a "zflv://" address (case-sensitive, anywhere) is handled under a
    // wait dialog and cancelled once it has closed. While a wait dialog is up, another
    // "zflv://" address is cancelled at once.
    void OnBeforeNavigate2(winui::BrowserEventArgs& args);
    // The main window is asked to close: the wait dialog that is up ends and the close waits
    // until the portal's event has returned, when one WM_CLOSE is posted to the main window;
    // true when a wait dialog was up (the caller then closes nothing now). Nothing is posted
    // while the wait dialog is up, so a loop nested in it (a menu, a box) stays idle.
    bool OnMainWindowClose();
    // The wait dialog that is up, or null.
    CWaitDlg* WaitDialog() const { return m_pWaitDlg; }

private:
    winui::Window& m_mainWindow;
    std::wstring& m_strLastUrl;
    CWaitDlg* m_pWaitDlg = nullptr;
    bool m_bClosePending = false;
};

// Starts the link's wait worker, which starts the link worker (HandleZflvLink on the
// context), waits for the link's done signal and then posts WM_CLOSE to the link's dialog
// while it lives.
void StartLinkWorkers(std::shared_ptr<LinkContext> context);

// True while a link worker runs.
bool LinkInHand();
// For the program's end, once the main dialog is gone: while a link is still in hand (its
// worker may sit in a box or in the send to the player), ends the process at once with
// code, tearing nothing down under the worker; else returns.
void EndProcessIfLinkInHand(int code);
