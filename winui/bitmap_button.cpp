// The bitmap button base: its images, its size and its default drawing.
#include "bitmap_button.h"

namespace winui {

namespace {

owners::OwnedGdi<HBITMAP> LoadImageOf(const wchar_t* name)
{
    return owners::OwnedGdi<HBITMAP>(name ? LoadBitmapW(GetModuleHandleW(nullptr), name) : nullptr);
}

const wchar_t* ResourceName(UINT id)
{
    return id ? MAKEINTRESOURCEW(id) : nullptr;
}

}  // namespace

bool BitmapButton::LoadBitmaps(UINT normal, UINT selected, UINT focus, UINT disabled)
{
    return LoadBitmaps(ResourceName(normal), ResourceName(selected), ResourceName(focus), ResourceName(disabled));
}

bool BitmapButton::LoadBitmaps(const wchar_t* normal, const wchar_t* selected, const wchar_t* focus,
                               const wchar_t* disabled)
{
    const wchar_t* names[kImageCount] = {normal, selected, focus, disabled};
    bool complete = true;
    for (int i = 0; i < kImageCount; ++i) {
        bitmaps_[i] = LoadImageOf(names[i]);
        if (names[i] && !bitmaps_[i])
            complete = false;
    }
    return complete && bitmaps_[kNormal];
}

void BitmapButton::SetBitmaps(HBITMAP normal, HBITMAP selected, HBITMAP focus, HBITMAP disabled)
{
    bitmaps_[kNormal].Reset(normal);
    bitmaps_[kSelected].Reset(selected);
    bitmaps_[kFocus].Reset(focus);
    bitmaps_[kDisabled].Reset(disabled);
}

void BitmapButton::SizeToContent()
{
    BITMAP info;
    if (!Handle() || !bitmaps_[kNormal] || !GetObjectW(bitmaps_[kNormal].Get(), sizeof info, &info))
        return;
    SetWindowPos(Handle(), nullptr, 0, 0, info.bmWidth, info.bmHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool BitmapButton::OnDrawItem(DRAWITEMSTRUCT& item)
{
    HBITMAP chosen = Bitmap(kNormal);
    if ((item.itemState & ODS_SELECTED) && bitmaps_[kSelected])
        chosen = Bitmap(kSelected);
    else if ((item.itemState & ODS_FOCUS) && bitmaps_[kFocus])
        chosen = Bitmap(kFocus);
    else if ((item.itemState & ODS_DISABLED) && bitmaps_[kDisabled])
        chosen = Bitmap(kDisabled);
    Blit(item, chosen);
    return true;
}

void BitmapButton::Blit(const DRAWITEMSTRUCT& item, HBITMAP bitmap)
{
    const RECT rect = item.rcItem;
    owners::OwnedMadeDc memory(CreateCompatibleDC(item.hDC));
    if (!memory)
        return;
    owners::GdiSelection chosen(memory.Get(), bitmap);
    BitBlt(item.hDC, 0, 0, rect.right, rect.bottom, memory.Get(), 0, 0, SRCCOPY);
}

}  // namespace winui
