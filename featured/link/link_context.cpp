#include "link_context.h"

#include <chrono>
#include <utility>

LinkContext::LinkContext(std::u16string link, Post post) : link_(std::move(link)), post_(std::move(post)) {}

void LinkContext::AttachDialog(uintptr_t window)
{
    std::lock_guard<std::mutex> lock(mutex_);
    dialog_ = window;
}

void LinkContext::DialogGone()
{
    std::lock_guard<std::mutex> lock(mutex_);
    dialog_ = 0;
}

uintptr_t LinkContext::Dialog() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return dialog_;
}

bool LinkContext::PostToDialog(uint32_t message, uintptr_t wParam, intptr_t lParam) const
{
    // Under the lock, so that the dialog cannot be gone between the test and the post.
    std::lock_guard<std::mutex> lock(mutex_);
    return dialog_ && post_ && post_(dialog_, message, wParam, lParam);
}

void LinkContext::StartPageTimer()
{
    timedOut_ = false;
    PostToDialog(kLinkRequestMessage, static_cast<uintptr_t>(LinkRequest::ArmPageTimer));
}

void LinkContext::StopPageTimer()
{
    PostToDialog(kLinkRequestMessage, static_cast<uintptr_t>(LinkRequest::KillPageTimer));
}

void LinkContext::SignalDone()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        done_ = true;
    }
    doneChanged_.notify_all();
}

bool LinkContext::IsDone() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return done_;
}

bool LinkContext::WaitDone(long timeoutMs) const
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (timeoutMs < 0) {
        doneChanged_.wait(lock, [this] { return done_; });
        return true;
    }
    return doneChanged_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return done_; });
}
