#pragma once
// A frame button: a bitmap button made owner-drawn when attached, that shows its normal,
// pressed (selected) or hover (focus) image, follows the mouse into and out of itself, and
// carries its own tooltip.
//
//   CMyButton close_;                          // member of the window
//   close_.Attach(GetDlgItem(Handle(), IDC_CLOSE));
//   close_.LoadBitmaps(IDB_CLOSE, IDB_CLOSE_DOWN, IDB_CLOSE_HOVER, IDB_CLOSE);
//   close_.SizeToContent();
//   close_.SetToolTipText(L"关闭");
#include <string>

#include "bitmap_button.h"
#include "tooltip.h"

namespace winui {

class CMyButton : public BitmapButton {
public:
    CMyButton() = default;

    // The first call creates the tooltip (owned by the button, style 0) with one tool, the
    // button, and activates it; later calls change that tool's text.
    void SetToolTipText(std::wstring text);
    const ToolTip& ToolTipControl() const { return m_ToolTip; }

    // Disabled: the normal image; pressed: the selected one; hovered: the focus one; else
    // the normal one. The disabled image is never drawn.
    bool OnDrawItem(DRAWITEMSTRUCT& item) override;
    // Every message passing the modal loop for the button goes to its tooltip as a relay.
    bool PreTranslateMessage(MSG& msg) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // Adds BS_OWNERDRAW: a push button of the template becomes owner-drawn.
    void PreSubclassWindow() override;

private:
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseHover(WPARAM wParam, LPARAM lParam);

    BOOL m_bPressed = FALSE;   // the left button went down here and has not come up
    BOOL m_bTracking = FALSE;  // a hover-and-leave tracking request is pending
    BOOL m_bHover = FALSE;     // the mouse has hovered here since it last left
    ToolTip m_ToolTip;         // destroyed before the base and its bitmaps
};

}  // namespace winui
