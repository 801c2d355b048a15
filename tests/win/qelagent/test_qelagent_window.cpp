// The agent's window run in this test's own process, with the program's own resources and
// the stand-in browser control: its help command and F1.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "win/help_recorder.h"
#include "win/key_press.h"
#include "progstart.h"
#include "qelagent_app.h"
#include "qelagent_dlg.h"

namespace {

class TestApp : public CqelagentApp {
public:
    TestApp() : CqelagentApp(L"qelagent") {}
};

// The agent's window with its worker's timer stopped; one step per timer through its own
// loop (a timer comes only once the queue holds no input): the command ID_HELP, then F1.
class HelpAgent : public CqelagentDlg {
public:
    HelpAgent() : CqelagentDlg(L"qelagent-help-test") {}
    BOOL OnInitDialog() override
    {
        BOOL result = CqelagentDlg::OnInitDialog();
        KillTimer(0);  // no link is handled
        SetTimer(kStep, 100);
        return result;
    }
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != WM_TIMER || wParam != kStep)
            return CqelagentDlg::OnMessage(message, wParam, lParam);
        switch (step_++) {
        case 0:
            SendMessageW(Handle(), WM_COMMAND, winui::ID_HELP, 0);
            SetForegroundWindow(Handle());
            SetFocus(Handle());
            PressKey(VK_F1);
            break;
        case 1:
            EndDialog(IDOK);
            break;
        }
        return 0;
    }

private:
    static const UINT_PTR kStep = 77;
    int step_ = 0;
};

class AgentWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OleInitialize(nullptr); }
    static void TearDownTestSuite() { OleUninitialize(); }
};

// The command and F1 ask the engine for the program's help file with the dialog's context,
// 0x20000 plus its template 102, on behalf of the agent's window.
TEST_F(AgentWindow, HelpAsksTheEngineForTheDialogsContext)
{
    TestApp app;
    std::vector<HelpRequest> requests;
    RecordHelpRequests(app, requests);
    HelpAgent dialog;
    app.SetMainWindow(&dialog);
    dialog.DoModal();
    app.SetMainWindow(nullptr);

    ASSERT_EQ(requests.size(), 2u) << "the command, then F1";
    for (const HelpRequest& r : requests) {
        EXPECT_EQ(r.file, ProgramPathBesideModule(nullptr, L"test_qelagent_window", L"hlp"));
        EXPECT_EQ(r.command, static_cast<UINT>(HELP_CONTEXT));
        EXPECT_EQ(r.context, 0x20066u);
        EXPECT_NE(r.window, nullptr);
        EXPECT_EQ(r.window, requests[0].window);
    }
}

}  // namespace
