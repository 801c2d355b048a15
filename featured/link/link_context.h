#pragma once
// The one context of one link, shared by the dialog that shows it and the workers that handle
// it (hold it in a std::shared_ptr): the workers never touch the dialog object itself.
//
//   // user-interface thread, when the link is taken:
//   auto context = MakeLinkContext(link);           // link_win.h
//   context->AttachDialog(window);                  // once the dialog's window exists
//   ... HandleLinkRequest(*context, ...) in the dialog's message handler ...
//   context->DialogGone();                          // when its window is destroyed
//   // worker:
//   HandleZflvLink(*context); context->SignalDone();
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

// The message that carries a request to the dialog (WM_APP + 0x4C), wParam a LinkRequest.
constexpr uint32_t kLinkRequestMessage = 0x8000 + 0x4C;
enum class LinkRequest : uintptr_t { ArmPageTimer = 1, KillPageTimer = 2 };

class LinkContext {
public:
    // post(window, message, wParam, lParam) posts to a window of the platform; true when posted.
    using Post = std::function<bool(uintptr_t window, uint32_t message, uintptr_t wParam, intptr_t lParam)>;

    LinkContext(std::u16string link, Post post);
    LinkContext(const LinkContext&) = delete;
    LinkContext& operator=(const LinkContext&) = delete;

    // The link as it was when it was taken: the workers' own copy.
    const std::u16string& Link() const { return link_; }

    // The site code of the link in hand, written and read by the link worker alone.
    int32_t siteCode = -1;

    // The dialog, on its own thread: its window from now on, and its end.
    void AttachDialog(uintptr_t window);
    void DialogGone();
    // The dialog's window while it lives (the owner of the agent's boxes), else 0.
    uintptr_t Dialog() const;
    // Posts to the dialog's window while it lives; false when it is gone (or not yet there).
    bool PostToDialog(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0) const;

    // The page time-out. The worker, per page: StartPageTimer clears the flag and asks the
    // dialog to arm its timer, PageTimedOut reads the flag, StopPageTimer asks it to kill the
    // timer. The dialog's thread calls PageTimerFired when the timer fires.
    void ClearTimeout() { timedOut_ = false; }
    void StartPageTimer();
    bool PageTimedOut() const { return timedOut_; }
    void StopPageTimer();
    void PageTimerFired() { timedOut_ = true; }

    // True for the first caller only: the workers of a link start once, however often the
    // event that starts them arrives.
    bool TakeStart() { return !started_.exchange(true); }

    // The link's own done signal: set once by the worker, waited for by whoever waits for
    // this link (a waiter of another link never sees it).
    void SignalDone();
    bool IsDone() const;
    // Waits until done or timeoutMs has passed (timeoutMs < 0: no limit); true when done.
    bool WaitDone(long timeoutMs = -1) const;

private:
    const std::u16string link_;
    const Post post_;
    mutable std::mutex mutex_;
    mutable std::condition_variable doneChanged_;
    uintptr_t dialog_ = 0;
    bool done_ = false;
    std::atomic<bool> timedOut_{false};
    std::atomic<bool> started_{false};
};
