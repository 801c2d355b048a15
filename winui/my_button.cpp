// The frame button: drawing, mouse tracking and its tooltip.
#include "my_button.h"

#include <commctrl.h>

namespace winui {

void CMyButton::PreSubclassWindow()
{
    BitmapButton::PreSubclassWindow();
    SetWindowLongPtrW(Handle(), GWL_STYLE, GetWindowLongPtrW(Handle(), GWL_STYLE) | BS_OWNERDRAW);
}

LRESULT CMyButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONUP:    return OnLButtonUp(wParam, lParam);
    case WM_LBUTTONDOWN:  return OnLButtonDown(wParam, lParam);
    case WM_MOUSEMOVE:    return OnMouseMove(wParam, lParam);
    case WM_MOUSELEAVE:   return OnMouseLeave(wParam, lParam);
    case WM_MOUSEHOVER:   return OnMouseHover(wParam, lParam);
    }
    return BitmapButton::OnMessage(message, wParam, lParam);  // WM_MBUTTONDOWN too
}

LRESULT CMyButton::OnLButtonUp(WPARAM wParam, LPARAM lParam)
{
    m_bPressed = FALSE;
    InvalidateRect(Handle(), nullptr, TRUE);
    return BitmapButton::OnMessage(WM_LBUTTONUP, wParam, lParam);
}

LRESULT CMyButton::OnLButtonDown(WPARAM wParam, LPARAM lParam)
{
    m_bPressed = TRUE;
    InvalidateRect(Handle(), nullptr, TRUE);
    return BitmapButton::OnMessage(WM_LBUTTONDOWN, wParam, lParam);
}

LRESULT CMyButton::OnMouseMove(WPARAM wParam, LPARAM lParam)
{
    if (!m_bTracking) {
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof track;
        track.dwFlags = TME_HOVER | TME_LEAVE;
        track.hwndTrack = Handle();
        track.dwHoverTime = 1;
        m_bTracking = _TrackMouseEvent(&track);
    }
    return BitmapButton::OnMessage(WM_MOUSEMOVE, wParam, lParam);
}

LRESULT CMyButton::OnMouseLeave(WPARAM, LPARAM)
{
    m_bHover = FALSE;
    m_bTracking = FALSE;
    InvalidateRect(Handle(), nullptr, FALSE);
    return 1;
}

LRESULT CMyButton::OnMouseHover(WPARAM, LPARAM)
{
    m_bTracking = FALSE;
    m_bHover = TRUE;
    InvalidateRect(Handle(), nullptr, TRUE);
    return 1;
}

bool CMyButton::OnDrawItem(DRAWITEMSTRUCT& item)
{
    HBITMAP chosen;
    if (item.itemState & ODS_DISABLED)
        chosen = Bitmap(kNormal);
    else if (m_bPressed)
        chosen = Bitmap(kSelected);
    else if (m_bHover)
        chosen = Bitmap(kFocus);
    else
        chosen = Bitmap(kNormal);
    Blit(item, chosen);
    return true;
}

bool CMyButton::PreTranslateMessage(MSG& msg)
{
    m_ToolTip.RelayEvent(msg);
    return BitmapButton::PreTranslateMessage(msg);
}

void CMyButton::SetToolTipText(std::wstring text)
{
    if (!m_ToolTip.Handle()) {
        const bool created = m_ToolTip.Create(Handle(), 0);
        if (created && m_ToolTip.AddTool(Handle(), text))
            m_ToolTip.Activate(true);
        return;
    }
    m_ToolTip.UpdateTipText(Handle(), text);
}

}  // namespace winui
