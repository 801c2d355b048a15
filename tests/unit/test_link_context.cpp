// The per-link context: the dialog reached only while it lives, the page time-out and its
// requests, the one start of the workers, and the link's own done signal.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "link_context.h"

namespace {

struct Posted {
    uintptr_t window;
    uint32_t message;
    uintptr_t wParam;
};

struct PostLog {
    std::vector<Posted> posts;
    LinkContext::Post Post()
    {
        return [this](uintptr_t window, uint32_t message, uintptr_t wParam, intptr_t) {
            posts.push_back({window, message, wParam});
            return true;
        };
    }
};

}  // namespace

TEST(LinkContext, PostsReachTheDialogOnlyWhileItLives)
{
    PostLog log;
    LinkContext context(u"zflv://play/src=http://a/", log.Post());
    EXPECT_EQ(context.Dialog(), 0u);
    EXPECT_FALSE(context.PostToDialog(0x10));  // no dialog yet
    context.AttachDialog(0x99);
    EXPECT_EQ(context.Dialog(), 0x99u);
    EXPECT_TRUE(context.PostToDialog(0x10, 7));
    context.DialogGone();
    EXPECT_EQ(context.Dialog(), 0u);
    EXPECT_FALSE(context.PostToDialog(0x10));
    context.StartPageTimer();  // asks nobody once the dialog is gone
    ASSERT_EQ(log.posts.size(), 1u);
    EXPECT_EQ(log.posts[0].window, 0x99u);
    EXPECT_EQ(log.posts[0].message, 0x10u);
    EXPECT_EQ(log.posts[0].wParam, 7u);
    EXPECT_EQ(context.Link(), u"zflv://play/src=http://a/");
}

TEST(LinkContext, PageTimerRequestsAndTheTimeOut)
{
    PostLog log;
    LinkContext context(u"l", log.Post());
    context.AttachDialog(1);
    context.PageTimerFired();
    EXPECT_TRUE(context.PageTimedOut());
    context.StartPageTimer();  // clears the flag before it asks for the timer
    EXPECT_FALSE(context.PageTimedOut());
    context.PageTimerFired();
    EXPECT_TRUE(context.PageTimedOut());
    context.StopPageTimer();
    EXPECT_TRUE(context.PageTimedOut());  // killing the timer leaves the flag
    context.ClearTimeout();
    EXPECT_FALSE(context.PageTimedOut());
    ASSERT_EQ(log.posts.size(), 2u);
    EXPECT_EQ(log.posts[0].message, kLinkRequestMessage);
    EXPECT_EQ(log.posts[0].wParam, static_cast<uintptr_t>(LinkRequest::ArmPageTimer));
    EXPECT_EQ(log.posts[1].wParam, static_cast<uintptr_t>(LinkRequest::KillPageTimer));
}

TEST(LinkContext, WorkersStartOnceWhateverTheNumberOfCalls)
{
    LinkContext context(u"l", nullptr);
    std::atomic<int> taken{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i)
        threads.emplace_back([&] { taken += context.TakeStart() ? 1 : 0; });
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(taken, 1);
    EXPECT_FALSE(context.TakeStart());
}

// Each link has its own signal: a waiter of the first link is released by the first
// link's worker alone, whatever a later link does.
TEST(LinkContext, DoneSignalBelongsToItsLink)
{
    LinkContext first(u"1", nullptr), second(u"2", nullptr);
    EXPECT_FALSE(first.WaitDone(20));
    second.SignalDone();
    EXPECT_FALSE(first.WaitDone(20));
    EXPECT_FALSE(first.IsDone());
    EXPECT_TRUE(second.WaitDone(0));

    std::atomic<bool> released{false};
    std::thread waiter([&] {
        first.WaitDone();
        released = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_FALSE(released);
    first.SignalDone();
    waiter.join();
    EXPECT_TRUE(released);
    EXPECT_TRUE(first.WaitDone());  // stays set for a late waiter
}
