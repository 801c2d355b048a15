// pelorama's main window run in this test's own process (device contexts do not cross
// processes), with the program's own resources and the stand-in browser control: the frame
// painted into a memory context, the colours of the check box and its label, the icon.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

#include "win/help_recorder.h"
#include "win/key_press.h"
#include "win/memory_canvas.h"
#include "link_win.h"
#include "pelorama_app.h"
#include "popup_wnd_dlg.h"
#include "progstart.h"
#include "standin_tray.h"
#include "wait_dialog.h"

namespace {

const COLORREF kBand = RGB(5, 6, 8), kGround = RGB(192, 192, 192);
const int kWidth = 527, kHeight = 570;

class TestApp : public CPoPupWndApp {
public:
    TestApp() : CPoPupWndApp(L"Pelorama") { SetRegistryKey(L"QELPlayer"); }
    bool InitInstance() override { return false; }
};

// The main window with a probe that runs once the window is up; the window closes after it.
class ProbedWindow : public CPoPupWndDlg {
public:
    explicit ProbedWindow(std::function<void(HWND)> probe) : probe_(std::move(probe)) {}

    BOOL OnInitDialog() override
    {
        BOOL result = CPoPupWndDlg::OnInitDialog();
        PostMessageW(Handle(), kProbe, 0, 0);
        return result;
    }
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != kProbe)
            return CPoPupWndDlg::OnMessage(message, wParam, lParam);
        probe_(Handle());
        PostMessageW(Handle(), WM_CLOSE, 0, 0);
        return 0;
    }

private:
    static const UINT kProbe = WM_APP + 77;
    std::function<void(HWND)> probe_;
};

void RunWindow(const std::function<void(HWND)>& probe)
{
    ASSERT_TRUE(RegisterMainFrameClass(GetModuleHandleW(nullptr)));
    TestApp app;
    bool probed = false;
    ProbedWindow window([&](HWND hwnd) {
        probed = true;
        probe(hwnd);
    });
    app.SetMainWindow(&window);
    window.DoModal();
    app.SetMainWindow(nullptr);
    EXPECT_TRUE(probed);
}

// The colour at x, y as GDI gives colours.
COLORREF At(const MemoryCanvas& canvas, int x, int y)
{
    GdiFlush();
    DWORD p = canvas.At(x, y);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

std::string Hex(COLORREF c)
{
    char text[16];
    snprintf(text, sizeof text, "%06lX", static_cast<unsigned long>(c));
    return text;
}

class PeloramaWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OleInitialize(nullptr); }
    static void TearDownTestSuite() { OleUninitialize(); }
};

// WM_ERASEBKGND paints the whole frame into the context it is given: the grey ground, the
// dark bands, the icon at (8, 4) in 16 by 16, the white caption in the rectangle measured
// from the context's font; nothing outside the client rectangle.
TEST_F(PeloramaWindow, FrameIsPaintedIntoTheGivenContext)
{
    RunWindow([](HWND hwnd) {
        MemoryCanvas canvas(kWidth + 10, kHeight + 10, 0xFF00FF);  // magenta: never painted
        EXPECT_EQ(SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc), 0), TRUE);

        struct Probe {
            int x, y;
            COLORREF expected;
            const char* what;
        } probes[] = {
            {263, 285, kGround, "page area"},    {6, 24, kGround, "page area's corner"},
            {520, 545, kGround, "page area's far corner"},
            {0, 300, kBand, "left band"},        {5, 300, kBand, "left band's edge"},
            {521, 300, kBand, "right band"},     {526, 300, kBand, "right band's edge"},
            {0, 546, kBand, "bottom band"},      {526, 569, kBand, "bottom band's corner"},
            {263, 560, kBand, "bottom band"},    {0, 0, kBand, "title band"},
            {300, 23, kBand, "title band's edge"}, {526, 10, kBand, "title band under the close button"},
            {kWidth, 10, RGB(255, 0, 255), "outside"}, {10, kHeight, RGB(255, 0, 255), "outside"},
        };
        for (const Probe& p : probes)
            EXPECT_EQ(Hex(At(canvas, p.x, p.y)), Hex(p.expected)) << p.what << " at " << p.x << "," << p.y;

        // The icon: what DrawIconEx gives for icon 128 in 16 by 16 on the band.
        MemoryCanvas icon(16, 16, 0);
        HBRUSH band = CreateSolidBrush(kBand);
        RECT all = {0, 0, 16, 16};
        FillRect(icon.dc, &all, band);
        DeleteObject(band);
        HICON image = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(128), IMAGE_ICON,
                                                    16, 16, LR_SHARED));
        ASSERT_NE(image, nullptr);
        DrawIconEx(icon.dc, 0, 0, image, 16, 16, 0, nullptr, DI_NORMAL);
        int differing = 0, coloured = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                differing += At(canvas, 8 + x, 4 + y) != At(icon, x, y);
                coloured += At(canvas, 8 + x, 4 + y) != kBand;
            }
        EXPECT_EQ(differing, 0);
        EXPECT_GT(coloured, 100);
        EXPECT_EQ(At(canvas, 7, 10), kBand);
        EXPECT_EQ(At(canvas, 24, 10), kBand);

        // The caption: light pixels inside its rectangle, none in the band beyond it.
        LOGFONTW font = {};
        GetObjectW(GetCurrentObject(canvas.dc, OBJ_FONT), sizeof font, &font);
        const RECT caption = {28, 5, 28 + 16 * font.lfWidth, 5 + font.lfHeight};
        ASSERT_GT(caption.right, caption.left + 40) << "font width " << font.lfWidth;
        int light = 0;
        for (int y = caption.top; y < caption.bottom && y < 24; ++y)
            for (int x = caption.left; x < caption.right; ++x)
                light += GetRValue(At(canvas, x, y)) > 128;
        EXPECT_GT(light, 30);
        int stray = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const bool inIcon = x >= 8 && x < 24 && y >= 4 && y < 20;
                const bool inCaption = x >= caption.left && x < caption.right && y >= caption.top && y < caption.bottom;
                stray += !inIcon && !inCaption && At(canvas, x, y) != kBand;
            }
        EXPECT_EQ(stray, 0);
    });
}

// The check box and its label: transparent, white text, the stock black brush; every other
// control keeps the dialog's own colours.
TEST_F(PeloramaWindow, CheckBoxAndLabelColours)
{
    RunWindow([](HWND hwnd) {
        HDC dc = CreateCompatibleDC(nullptr);
        for (UINT message : {WM_CTLCOLORSTATIC, WM_CTLCOLORBTN}) {
            for (int id : {1006, 1007, 1003}) {
                SCOPED_TRACE(std::to_string(message) + " control " + std::to_string(id));
                SetBkMode(dc, OPAQUE);
                SetTextColor(dc, RGB(1, 2, 3));
                LRESULT brush = SendMessageW(hwnd, message, reinterpret_cast<WPARAM>(dc),
                                             reinterpret_cast<LPARAM>(GetDlgItem(hwnd, id)));
                if (id == 1003) {
                    EXPECT_NE(brush, reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH)));
                    EXPECT_NE(GetTextColor(dc), RGB(255, 255, 255));
                } else {
                    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH)));
                    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
                    EXPECT_EQ(GetTextColor(dc), RGB(255, 255, 255));
                }
            }
        }
        DeleteDC(dc);
    });
}

// The icon 128 is the window's big and small icon and the drag icon.
TEST_F(PeloramaWindow, CarriesItsIcon)
{
    RunWindow([](HWND hwnd) {
        LRESULT dragIcon = SendMessageW(hwnd, WM_QUERYDRAGICON, 0, 0);
        EXPECT_NE(dragIcon, 0);
        EXPECT_EQ(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0), dragIcon);
        EXPECT_EQ(SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0), dragIcon);
    });
}

// The notification-area icon is loaded once: the add at start and the add after
// "TaskbarCreated" carry the same handle, which is freed with the window object.
TEST_F(PeloramaWindow, TrayIconIsLoadedOnceAndFreedAtTheEnd)
{
    StandinTray tray;
    ASSERT_TRUE(tray.Start());
    HICON icon = nullptr;
    RunWindow([&](HWND hwnd) {
        auto* window = static_cast<CPoPupWndDlg*>(winui::Window::FromHandle(hwnd));
        ASSERT_NE(window, nullptr);
        icon = window->TrayIconHandle();
        ASSERT_NE(icon, nullptr);
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        EXPECT_EQ(info.hbmColor ? 16 : 0, 16);
        SendMessageW(hwnd, CPoPupWndDlg::WM_TASKBARCREATED, 0, 0);
        EXPECT_EQ(window->TrayIconHandle(), icon);
    });
    auto records = tray.Records();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].command, static_cast<ULONG_PTR>(NIM_ADD));
    EXPECT_EQ(records[1].command, static_cast<ULONG_PTR>(NIM_ADD));
    EXPECT_EQ(records[2].command, static_cast<ULONG_PTR>(NIM_DELETE));
    ICONINFO info = {};
    EXPECT_FALSE(GetIconInfo(icon, &info)) << "the icon outlived the window";
}

// The main window's help routes, one step per timer through its own loop (a timer comes only
// once the queue holds no input): the command ID_HELP, F1 on the check box, F1 on a wait
// dialog over the window.
class HelpWindow : public CPoPupWndDlg {
public:
    BOOL OnInitDialog() override
    {
        BOOL result = CPoPupWndDlg::OnInitDialog();
        SetTimer(kStep, 100);
        return result;
    }
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != WM_TIMER || wParam != kStep)
            return CPoPupWndDlg::OnMessage(message, wParam, lParam);
        switch (step_++) {
        case 0:
            SendMessageW(Handle(), WM_COMMAND, winui::ID_HELP, 0);
            SetForegroundWindow(Handle());
            SetFocus(GetDlgItem(Handle(), 1006));
            PressKey(VK_F1);
            break;
        case 1:
            KillTimer(kStep);
            waitDialog.DoModal();
            PostMessageW(Handle(), WM_CLOSE, 0, 0);
            break;
        }
        return 0;
    }

    // F1 while the focus is on the wait dialog itself.
    class Wait : public CWaitDlg {
    public:
        Wait() : CWaitDlg(MakeLinkContext(L"zflv://goto/x")) {}
        BOOL OnInitDialog() override
        {
            CWaitDlg::OnInitDialog();
            SetForegroundWindow(Handle());
            SetFocus(Handle());
            PressKey(VK_F1);
            SetTimer(kStep, 100);
            return FALSE;
        }
        LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message != WM_TIMER || wParam != kStep)
                return CWaitDlg::OnMessage(message, wParam, lParam);
            EndDialog(IDOK);
            return 0;
        }
    } waitDialog;

private:
    static const UINT_PTR kStep = 77;
    int step_ = 0;
};

TEST_F(PeloramaWindow, HelpAsksTheEngineForTheActiveDialogsContext)
{
    ASSERT_TRUE(RegisterMainFrameClass(GetModuleHandleW(nullptr)));
    TestApp app;
    std::vector<HelpRequest> requests;
    RecordHelpRequests(app, requests);
    HelpWindow window;
    app.SetMainWindow(&window);
    HWND main = nullptr;
    window.DoModal();
    app.SetMainWindow(nullptr);

    const std::wstring file = ProgramPathBesideModule(nullptr, L"test_pelorama_window", L"hlp");
    ASSERT_EQ(requests.size(), 3u) << "the command, F1 on the main window, F1 on the wait dialog";
    const ULONG_PTR contexts[] = {0x20066, 0x20066, 0x20095};
    for (size_t i = 0; i < requests.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(requests[i].file, file);
        EXPECT_EQ(requests[i].command, static_cast<UINT>(HELP_CONTEXT));
        EXPECT_EQ(requests[i].context, contexts[i]);
        if (i == 0)
            main = requests[i].window;
        EXPECT_EQ(requests[i].window, main);
    }
    EXPECT_NE(main, nullptr);
}

// A wait dialog whose timer calls are recorded; the link asks for its page timer and then
// for its end, as the handling does around one "/videosrc=" page.
class TimerWait : public CWaitDlg {
public:
    explicit TimerWait(std::shared_ptr<LinkContext> link) : CWaitDlg(link), link_(std::move(link)) {}
    BOOL OnInitDialog() override
    {
        BOOL result = CWaitDlg::OnInitDialog();
        link_->StartPageTimer();
        link_->StopPageTimer();
        PostMessageW(Handle(), kEnd, 0, 0);
        return result;
    }
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != kEnd)
            return CWaitDlg::OnMessage(message, wParam, lParam);
        EndDialog(IDOK);
        return 0;
    }
    bool SetTimer(UINT_PTR id, UINT milliseconds) override
    {
        calls.push_back("SetTimer " + std::to_string(id) + " " + std::to_string(milliseconds));
        return CWaitDlg::SetTimer(id, milliseconds);
    }
    bool KillTimer(UINT_PTR id) override
    {
        calls.push_back("KillTimer " + std::to_string(id));
        return CWaitDlg::KillTimer(id);
    }
    std::vector<std::string> calls;

private:
    static const UINT kEnd = WM_APP + 79;
    std::shared_ptr<LinkContext> link_;
};

// The page time-out is timer 1 of 45 seconds on the wait dialog.
TEST_F(PeloramaWindow, WaitDialogArmsThePageTimerForFortyFiveSeconds)
{
    TimerWait dialog(MakeLinkContext(L"zflv://play/videosrc=http://www.ku6.com/show/1.html<&>"));
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.calls, (std::vector<std::string>{"SetTimer 1 45000", "KillTimer 1"}));
}

}  // namespace
