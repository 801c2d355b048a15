#pragma once
// What a worker handling one link may use of the dialog that started it.
#include <windows.h>

#include <mutex>
#include <string>

namespace winui {

// Shared by the dialog and its worker (hold it in a std::shared_ptr). The worker keeps its
// own copy of the link and reaches the dialog only through this object, which forgets the
// dialog's window once the dialog calls DialogGone, so a worker outliving the dialog
// finds no window rather than a dialog that is gone.
class LinkContext {
public:
    LinkContext(HWND dialog, std::wstring link);
    LinkContext(const LinkContext&) = delete;
    LinkContext& operator=(const LinkContext&) = delete;

    const std::wstring& Link() const { return link_; }

    // The dialog's window while it lives (the owner of the worker's message boxes), else null.
    HWND Owner() const;
    // Posts to the dialog's window while it lives; false when it is gone.
    bool PostToDialog(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // Called by the dialog, on its own thread, when its window is destroyed.
    void DialogGone();

    // The site code of the link in hand, written and read by the worker alone.
    int siteCode = -1;

private:
    mutable std::mutex mutex_;
    HWND dialog_;
    const std::wstring link_;
};

}  // namespace winui
