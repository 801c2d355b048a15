#pragma once
// pelorama's one window: a borderless pop-up with a frame it paints itself, the welcome
// page over the portal until the portal's document completes, the frame buttons, the
// "don't pop up" check box kept in the profile, dragging by the frame, and its icon in the
// notification area.
#include <string>

#include "browser_host.h"
#include "dialog.h"
#include "my_button.h"
#include "link_road.h"

class CPoPupWndDlg : public winui::Dialog {
public:
    CPoPupWndDlg();
    ~CPoPupWndDlg() override;

    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    void OnOK() override {}      // Enter does nothing
    void OnCancel() override {}  // nor does Escape
    void OnBrowserEvent(int controlId, DISPID dispid, winui::BrowserEventArgs& args) override;

    // Removes the single-instance property, then destroys the window.
    void DestroyWindow();

    // Address of the portal's latest navigation. A link's site code and page time-out are
    // its own context's (the link road).
    std::wstring m_strLastUrl;

    // Adds (true) or removes (false) the notification-area icon.
    void SetTrayIcon(bool add);
    // Replaces the icon's tip (cut to 127 characters).
    void UpdateTrayTip(std::wstring text);
    // The icon's callback: wParam the icon's id, lParam the mouse message.
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    // The shell's taskbar was made anew: the icon is added again.
    LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);

    // The icon shown in the notification area, loaded once.
    HICON TrayIconHandle() const { return m_hTrayIcon; }

    static const winui::RegisteredMessage WM_TASKBARCREATED;
    static const winui::RegisteredMessage WM_NOTIFYICON;

private:
    // Moves controls to and from m_bDontPopup: toward the controls when saveAndValidate is
    // false.
    void DoDataExchange(bool saveAndValidate);
    void UpdateData(bool saveAndValidate) { DoDataExchange(saveAndValidate); }

    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    bool OnPaint();
    BOOL OnEraseBkgnd(HDC dc);
    void OnCommand(int id);
    void OnBtnClose();
    void OnBtnMinimize();
    void OnBtnForward();
    void OnBtnBack();
    void OnBtnReload();
    void OnBtnForum();
    void OnCheckDontPopup();
    void OnClose();
    void OnMouseMove(POINT point);
    void OnLButtonUp();
    void OnLButtonDown(POINT point);
    LRESULT OnCtlColor(UINT message, HDC dc, HWND control);
    void OnPortalDownloadComplete();
    void OnPortalDocumentComplete();
    void OnBeforeNavigate2(winui::BrowserEventArgs& args);

    void TrackTrayMenu();
    void LoadFrameButtons();
    void PlaceFrameButtons(const RECT& client);
    void LayOut(winui::BrowserHost& browser, const RECT& client);
    std::wstring ProfileString(UINT id) const;

    int m_bDragging = 0;
    POINT m_ptDragAnchor = {};
    int m_bTrayIcon = 0;
    HICON m_hIcon;
    HICON m_hTrayIcon = nullptr;
    winui::CMyButton m_btnClose, m_btnMinimize, m_btnForward, m_btnBack, m_btnReload, m_btnForum;
    HWND m_chkDontPopup = nullptr;
    int m_bDontPopup = 0;
    winui::BrowserHost m_browserPortal;
    LinkRoad m_linkRoad{*this, m_strLastUrl};
    winui::BrowserHost m_browserWelcome;
    bool m_bReloading = false;
};
