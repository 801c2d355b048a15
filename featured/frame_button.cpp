#include "frame_button.h"

FrameButton::~FrameButton()
{
    FreeBitmaps();
}

void FrameButton::FreeBitmaps()
{
    for (HBITMAP& bitmap : bitmaps_) {
        if (bitmap)
            DeleteObject(bitmap);
        bitmap = nullptr;
    }
}

bool FrameButton::AttachControl(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    if (!Attach(control))
        return false;
    LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    SetWindowLongPtrW(control, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
    return true;
}

bool FrameButton::LoadBitmaps(UINT normal, UINT selected, UINT focus, UINT disabled)
{
    FreeBitmaps();
    const UINT ids[4] = {normal, selected, focus, disabled};
    for (int i = 0; i < 4; ++i)
        if (ids[i])
            bitmaps_[i] = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(ids[i]));
    return bitmaps_[0] != nullptr;
}

void FrameButton::SizeToContent()
{
    BITMAP info;
    if (!bitmaps_[0] || !GetObjectW(bitmaps_[0], sizeof info, &info))
        return;
    SetWindowPos(Handle(), nullptr, 0, 0, info.bmWidth, info.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool FrameButton::OnDrawItem(DRAWITEMSTRUCT& item)
{
    HDC memory = CreateCompatibleDC(item.hDC);
    HGDIOBJ previous = bitmaps_[0] ? SelectObject(memory, bitmaps_[0]) : nullptr;
    BitBlt(item.hDC, 0, 0, item.rcItem.right, item.rcItem.bottom, memory, 0, 0, SRCCOPY);
    if (previous)
        SelectObject(memory, previous);
    DeleteDC(memory);
    return true;
}
