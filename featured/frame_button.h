#pragma once
// A frame button until the owner-drawn bitmap button takes its place: a push button made
// owner-drawn when attached, showing its normal bitmap, sized to it.
#include <string>

#include "window.h"

class FrameButton : public winui::Window {
public:
    FrameButton() = default;
    ~FrameButton() override;

    // Binds the dialog's control and makes it owner-drawn.
    bool AttachControl(HWND dialog, int id);
    // The bitmaps of the program's module: normal, selected, focus, disabled (0: none).
    bool LoadBitmaps(UINT normal, UINT selected, UINT focus, UINT disabled);
    // The button takes the size of its normal bitmap.
    void SizeToContent();
    void SetToolTipText(const std::wstring& text) { tip_ = text; }

    bool OnDrawItem(DRAWITEMSTRUCT& item) override;

private:
    void FreeBitmaps();

    HBITMAP bitmaps_[4] = {};
    std::wstring tip_;
};
