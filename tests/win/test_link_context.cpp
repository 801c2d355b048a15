// The per-link context under Wine: a worker reaches its dialog only while it lives, and the
// page timer is armed and killed on the dialog's own thread at the worker's request.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "dialog.h"
#include "link_win.h"
#include "test_dialogs.h"
#include "worker.h"

using winui::Dialog;

namespace {

const UINT kStep = WM_APP + 1;   // the worker's step
const UINT kProbe = WM_APP + 2;  // asks the dialog whether timer 1 is armed

// A dialog that starts a worker on a link context and then closes while the worker still
// holds it.
struct WorkerReport {
    HANDLE proceed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    bool postedWhileAlive = false;
    HWND ownerWhileAlive = nullptr;
    bool postedAfter = true;
    HWND ownerAfter = reinterpret_cast<HWND>(1);
    std::u16string link;
    ~WorkerReport()
    {
        CloseHandle(proceed);
        CloseHandle(done);
    }
};

class WorkerDialog : public Dialog {
public:
    explicit WorkerDialog(std::shared_ptr<WorkerReport> report) : Dialog(IDD_TEST_PLAIN), report_(report) {}
    BOOL OnInitDialog() override
    {
        window = Handle();
        context_ = MakeLinkContext(L"zflv://play/src=http://a/", Handle());
        auto report = report_;
        // A worker that never starts leaves the report's done event unset.
        (void)winui::StartWorker([context = context_, report] {
            report->ownerWhileAlive = DialogWindow(*context);
            report->postedWhileAlive = context->PostToDialog(kStep);
            WaitForSingleObject(report->proceed, 10000);
            report->ownerAfter = DialogWindow(*context);
            report->postedAfter = context->PostToDialog(WM_CLOSE);
            report->link = context->Link();
            SetEvent(report->done);
        });
        return TRUE;
    }
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kStep) {
            EndDialog(IDOK);
            return 0;
        }
        if (message == WM_DESTROY)
            context_->DialogGone();
        return Dialog::OnMessage(message, wParam, lParam);
    }
    HWND window = nullptr;

private:
    std::shared_ptr<WorkerReport> report_;
    std::shared_ptr<LinkContext> context_;
};

// Carries out the context's requests; on kProbe notes whether timer 1 was armed (killing it).
class TimerDialog : public Dialog {
public:
    TimerDialog() : Dialog(IDD_TEST_PLAIN) {}
    BOOL OnInitDialog() override
    {
        context = MakeLinkContext(L"zflv://play/videosrc=http://a/<&>", Handle());
        // A worker that never starts leaves the probes unposted.
        (void)winui::StartWorker([c = context] {
            c->StartPageTimer();
            c->PostToDialog(kProbe);  // armed
            c->StartPageTimer();
            c->StopPageTimer();
            c->PostToDialog(kProbe);  // killed by request
            c->StartPageTimer();
            c->PostToDialog(WM_TIMER, kPageTimerId);
            c->PostToDialog(kProbe);  // killed when it fired
            c->PostToDialog(WM_CLOSE);
        });
        return TRUE;
    }
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (HandleLinkRequest(*context, *this, message, wParam))
            return 0;
        switch (message) {
        case kProbe:
            armed.push_back(::KillTimer(Handle(), kPageTimerId) != FALSE);
            timedOut.push_back(context->PageTimedOut());
            return 0;
        case WM_CLOSE:
            EndDialog(IDOK);
            return 0;
        case WM_DESTROY:
            context->DialogGone();
            break;
        }
        return Dialog::OnMessage(message, wParam, lParam);
    }
    std::shared_ptr<LinkContext> context;
    std::vector<bool> armed, timedOut;
};

}  // namespace

TEST(LinkContext, WorkerNeverReachesADialogThatIsGone)
{
    auto report = std::make_shared<WorkerReport>();
    HWND dialogWindow = nullptr;
    {
        WorkerDialog dialog(report);
        EXPECT_EQ(dialog.DoModal(), IDOK);  // ended by the worker's message
        dialogWindow = dialog.window;
    }  // and the dialog object is gone too
    SetEvent(report->proceed);
    ASSERT_EQ(WaitForSingleObject(report->done, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(report->ownerWhileAlive, dialogWindow);
    EXPECT_TRUE(report->postedWhileAlive);
    EXPECT_EQ(report->ownerAfter, nullptr);
    EXPECT_FALSE(report->postedAfter);
    EXPECT_EQ(report->link, u"zflv://play/src=http://a/");  // the worker's own copy
}

TEST(LinkContext, PageTimerLivesOnTheDialogsThread)
{
    TimerDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.armed, (std::vector<bool>{true, false, false}));
    EXPECT_EQ(dialog.timedOut, (std::vector<bool>{false, false, true}));
    EXPECT_EQ(DialogWindow(*dialog.context), nullptr);
}
