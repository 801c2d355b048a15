#pragma once
// An owner-drawn push button that shows bitmaps: four images (normal, selected, focus,
// disabled), loaded from the program's resources or handed over, and the button sized to
// the normal one. The template's button needs BS_OWNERDRAW, or a derived class adds it
// in PreSubclassWindow.
#include "owned_handle.h"
#include "window.h"

namespace winui {

class BitmapButton : public Window {
public:
    enum Image { kNormal, kSelected, kFocus, kDisabled, kImageCount };

    BitmapButton() = default;

    // Loads the images from the program's module; an id of 0 leaves that image out. False
    // when the normal image cannot be loaded, or another one named.
    bool LoadBitmaps(UINT normal, UINT selected = 0, UINT focus = 0, UINT disabled = 0);
    bool LoadBitmaps(const wchar_t* normal, const wchar_t* selected = nullptr, const wchar_t* focus = nullptr,
                     const wchar_t* disabled = nullptr);
    // Takes bitmaps made elsewhere; the button frees them.
    void SetBitmaps(HBITMAP normal, HBITMAP selected, HBITMAP focus, HBITMAP disabled);
    HBITMAP Bitmap(Image image) const { return bitmaps_[image].Get(); }

    // Gives the button the size of its normal image.
    void SizeToContent();

    // Draws the selected image while pressed, the focus image while focused, the disabled
    // image while disabled (each when there is one), else the normal image.
    bool OnDrawItem(DRAWITEMSTRUCT& item) override;

protected:
    // Copies bitmap (none: what a fresh memory context holds) to the item's context at
    // (0, 0), as wide and high as the item rectangle's right and bottom edges.
    static void Blit(const DRAWITEMSTRUCT& item, HBITMAP bitmap);

private:
    owners::OwnedGdi<HBITMAP> bitmaps_[kImageCount];  // freed with the button
};

}  // namespace winui
