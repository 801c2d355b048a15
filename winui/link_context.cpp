#include "link_context.h"

#include <utility>

namespace winui {

LinkContext::LinkContext(HWND dialog, std::wstring link) : dialog_(dialog), link_(std::move(link)) {}

HWND LinkContext::Owner() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return dialog_;
}

bool LinkContext::PostToDialog(UINT message, WPARAM wParam, LPARAM lParam) const
{
    // Under the lock, so the dialog cannot be gone between the test and the post.
    std::lock_guard<std::mutex> lock(mutex_);
    return dialog_ && PostMessageW(dialog_, message, wParam, lParam);
}

void LinkContext::DialogGone()
{
    std::lock_guard<std::mutex> lock(mutex_);
    dialog_ = nullptr;
}

}  // namespace winui
