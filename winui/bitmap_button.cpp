// The bitmap button base: its images, its size and its default drawing.
#include "bitmap_button.h"

namespace winui {

namespace {

HBITMAP LoadImageOf(const wchar_t* name)
{
    return name ? LoadBitmapW(GetModuleHandleW(nullptr), name) : nullptr;
}

const wchar_t* ResourceName(UINT id)
{
    return id ? MAKEINTRESOURCEW(id) : nullptr;
}

}  // namespace

BitmapButton::~BitmapButton()
{
    FreeBitmaps();
}

void BitmapButton::FreeBitmaps()
{
    for (HBITMAP& bitmap : bitmaps_) {
        if (bitmap)
            DeleteObject(bitmap);
        bitmap = nullptr;
    }
}

bool BitmapButton::LoadBitmaps(UINT normal, UINT selected, UINT focus, UINT disabled)
{
    return LoadBitmaps(ResourceName(normal), ResourceName(selected), ResourceName(focus), ResourceName(disabled));
}

bool BitmapButton::LoadBitmaps(const wchar_t* normal, const wchar_t* selected, const wchar_t* focus,
                               const wchar_t* disabled)
{
    const wchar_t* names[kImageCount] = {normal, selected, focus, disabled};
    HBITMAP loaded[kImageCount] = {};
    bool complete = true;
    for (int i = 0; i < kImageCount; ++i) {
        loaded[i] = LoadImageOf(names[i]);
        if (names[i] && !loaded[i])
            complete = false;
    }
    SetBitmaps(loaded[kNormal], loaded[kSelected], loaded[kFocus], loaded[kDisabled]);
    return complete && loaded[kNormal];
}

void BitmapButton::SetBitmaps(HBITMAP normal, HBITMAP selected, HBITMAP focus, HBITMAP disabled)
{
    FreeBitmaps();
    bitmaps_[kNormal] = normal;
    bitmaps_[kSelected] = selected;
    bitmaps_[kFocus] = focus;
    bitmaps_[kDisabled] = disabled;
}

void BitmapButton::SizeToContent()
{
    BITMAP info;
    if (!Handle() || !bitmaps_[kNormal] || !GetObjectW(bitmaps_[kNormal], sizeof info, &info))
        return;
    SetWindowPos(Handle(), nullptr, 0, 0, info.bmWidth, info.bmHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool BitmapButton::OnDrawItem(DRAWITEMSTRUCT& item)
{
    HBITMAP chosen = bitmaps_[kNormal];
    if ((item.itemState & ODS_SELECTED) && bitmaps_[kSelected])
        chosen = bitmaps_[kSelected];
    else if ((item.itemState & ODS_FOCUS) && bitmaps_[kFocus])
        chosen = bitmaps_[kFocus];
    else if ((item.itemState & ODS_DISABLED) && bitmaps_[kDisabled])
        chosen = bitmaps_[kDisabled];
    Blit(item, chosen);
    return true;
}

void BitmapButton::Blit(const DRAWITEMSTRUCT& item, HBITMAP bitmap)
{
    const RECT rect = item.rcItem;
    HDC memory = CreateCompatibleDC(item.hDC);
    if (!memory)
        return;
    HGDIOBJ old = bitmap ? SelectObject(memory, bitmap) : nullptr;
    BitBlt(item.hDC, 0, 0, rect.right, rect.bottom, memory, 0, 0, SRCCOPY);
    if (old)
        SelectObject(memory, old);
    DeleteDC(memory);
}

}  // namespace winui
