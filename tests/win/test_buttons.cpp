// The window layer's common controls under Wine, in the test's own process: the embedded
// manifest, the attach hook, the bitmap button base, the tooltip wrapper and the frame
// button. Drawings are
// read from a memory device context, never from the screen.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

#include "bitmap_button.h"
#include "dialog.h"
#include "my_button.h"
#include "test_dialogs.h"
#include "tooltip.h"
#include "wait_for.h"

using winui::BitmapButton;
using winui::CMyButton;
using winui::Dialog;
using winui::ToolTip;
using winui::Window;

namespace {

const COLORREF kRed = RGB(0xFF, 0, 0), kGreen = RGB(0, 0xFF, 0), kBlue = RGB(0, 0, 0xFF),
               kYellow = RGB(0xFF, 0xFF, 0);

// A bitmap of one colour, made here.
HBITMAP SolidBitmap(COLORREF colour, int width = 16, int height = 16)
{
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

// A 32-bit memory device context to draw into and read back.
class MemoryCanvas {
public:
    MemoryCanvas(int width, int height)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        RECT all = {0, 0, width, height};
        FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    ~MemoryCanvas()
    {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC Dc() const { return dc_; }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// What a button shows now: its client area printed into a memory context.
COLORREF PrintedColour(HWND button)
{
    MemoryCanvas canvas(40, 40);
    SendMessageW(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    return canvas.At(2, 2);
}

// A dialog of the plain template (a panel and a push button) that runs a test's steps
// from OnInitDialog and ends once the messages they posted have passed its loop.
class StepsDialog : public Dialog {
public:
    explicit StepsDialog(std::function<void(StepsDialog&)> steps) : Dialog(IDD_TEST_PLAIN), steps_(std::move(steps)) {}
    BOOL OnInitDialog() override
    {
        steps_(*this);
        PostMessageW(Handle(), kEnd, 0, 0);
        return TRUE;
    }
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kEnd) {
            EndDialog(IDOK);
            return 0;
        }
        return Dialog::OnMessage(message, wParam, lParam);
    }
    HWND Button() const { return GetDlgItem(Handle(), IDC_TEST_BUTTON); }

private:
    static const UINT kEnd = WM_APP + 3;
    std::function<void(StepsDialog&)> steps_;
};

void RunSteps(std::function<void(StepsDialog&)> steps)
{
    StepsDialog dialog(std::move(steps));
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

TEST(CommonControls, TheEmbeddedManifestBringsVersion6)
{
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(found, nullptr);
    const char* text = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
    std::string manifest(text, SizeofResource(nullptr, found));
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find(sizeof(void*) == 4 ? "processorArchitecture=\"x86\"" : "processorArchitecture=\"amd64\""),
              std::string::npos)
        << manifest;

    // The library the process loaded is the side-by-side assembly the manifest names, not
    // the system folder's old one.
    InitCommonControls();
    HMODULE library = GetModuleHandleW(L"comctl32.dll");
    ASSERT_NE(library, nullptr);
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(library, path, MAX_PATH);
    CharLowerW(path);
    EXPECT_NE(std::wstring(path).find(L"microsoft.windows.common-controls"), std::wstring::npos)
        << std::string(path, path + wcslen(path));
}

// The hook runs inside Attach with the handle known and the window not yet subclassed:
// a style set there holds, and no message of the change reaches the object.
TEST(AttachHook, RunsOnceWithTheHandleBeforeSubclassing)
{
    class Hooked : public Window {
    public:
        void PreSubclassWindow() override
        {
            ++calls;
            handleInHook = Handle();
            boundInHook = FromHandle(Handle()) == this;
            SetWindowLongPtrW(Handle(), GWL_STYLE, GetWindowLongPtrW(Handle(), GWL_STYLE) | BS_OWNERDRAW);
        }
        LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message == WM_STYLECHANGED)
                ++styleMessages;
            return Window::OnMessage(message, wParam, lParam);
        }
        int calls = 0, styleMessages = 0;
        HWND handleInHook = nullptr;
        bool boundInHook = false;
    };
    Hooked hooked;
    HWND button = nullptr;
    LONG_PTR style = 0;
    RunSteps([&](StepsDialog& d) {
        button = d.Button();
        EXPECT_TRUE(hooked.Attach(button));
        style = GetWindowLongPtrW(button, GWL_STYLE);
        EXPECT_FALSE(hooked.Attach(button));  // bound already: no second hook
    });
    EXPECT_EQ(hooked.calls, 1);
    EXPECT_EQ(hooked.handleInHook, button);
    EXPECT_TRUE(hooked.boundInHook);
    EXPECT_EQ(hooked.styleMessages, 0);
    EXPECT_EQ(style & BS_TYPEMASK, BS_OWNERDRAW);
}

// An owner-drawn bitmap button of the template.
class OwnerDrawn : public BitmapButton {
public:
    void PreSubclassWindow() override
    {
        SetWindowLongPtrW(Handle(), GWL_STYLE, (GetWindowLongPtrW(Handle(), GWL_STYLE) & ~BS_TYPEMASK) | BS_OWNERDRAW);
    }
};

// The base draws the image of the item's state, the normal one where the state's image
// is missing; the dialog hands the drawing message on to it.
TEST(BitmapButton, DrawsTheImageOfTheItemsState)
{
    struct Case {
        UINT state;
        bool allImages;
        COLORREF expected;
    };
    const Case cases[] = {
        {0, true, kRed},
        {ODS_SELECTED, true, kGreen},
        {ODS_FOCUS, true, kBlue},
        {ODS_DISABLED, true, kYellow},
        {ODS_SELECTED | ODS_FOCUS, true, kGreen},
        {ODS_SELECTED, false, kRed},
        {ODS_FOCUS, false, kRed},
        {ODS_DISABLED, false, kRed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "state " << c.state << (c.allImages ? " four images" : " normal only"));
        BitmapButton button;
        button.SetBitmaps(SolidBitmap(kRed), c.allImages ? SolidBitmap(kGreen) : nullptr,
                          c.allImages ? SolidBitmap(kBlue) : nullptr, c.allImages ? SolidBitmap(kYellow) : nullptr);
        MemoryCanvas canvas(16, 16);
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.itemState = c.state;
        item.hDC = canvas.Dc();
        item.rcItem = {0, 0, 16, 16};
        EXPECT_TRUE(button.OnDrawItem(item));
        EXPECT_EQ(canvas.At(3, 3), c.expected);
        EXPECT_EQ(canvas.At(15, 15), c.expected);  // the whole rectangle
    }

    OwnerDrawn attached;
    COLORREF printed = 0;
    RunSteps([&](StepsDialog& d) {
        attached.SetBitmaps(SolidBitmap(kBlue), nullptr, nullptr, nullptr);
        ASSERT_TRUE(attached.Attach(d.Button()));
        printed = PrintedColour(d.Button());
    });
    EXPECT_EQ(printed, kBlue);
}

TEST(BitmapButton, LoadsItsImagesAndTakesTheirSize)
{
    OwnerDrawn button;
    SIZE before = {}, after = {};
    bool loaded = false, missing = true, partly = true;
    COLORREF printed = 0;
    RunSteps([&](StepsDialog& d) {
        ASSERT_TRUE(button.Attach(d.Button()));
        RECT r;
        GetWindowRect(d.Button(), &r);
        before = {r.right - r.left, r.bottom - r.top};
        missing = button.LoadBitmaps(4242);
        partly = button.LoadBitmaps(IDB_TEST_IMAGE, 4242);
        loaded = button.LoadBitmaps(IDB_TEST_IMAGE, IDB_TEST_IMAGE);
        button.SizeToContent();
        GetWindowRect(d.Button(), &r);
        after = {r.right - r.left, r.bottom - r.top};
        printed = PrintedColour(d.Button());
    });
    EXPECT_FALSE(missing);
    EXPECT_FALSE(partly);  // a named image that is missing fails the call
    EXPECT_TRUE(loaded);
    EXPECT_NE(button.Bitmap(BitmapButton::kSelected), nullptr);
    EXPECT_EQ(button.Bitmap(BitmapButton::kFocus), nullptr);
    EXPECT_NE(before.cx, 12);
    EXPECT_EQ(after.cx, 12);
    EXPECT_EQ(after.cy, 8);
    EXPECT_EQ(printed, RGB(0xC0, 0x80, 0x40));
}

// One tool known by its window: added, counted, its text read and changed; the window
// goes with the wrapper.
TEST(ToolTip, OneToolByWindowWithItsText)
{
    HWND tipWindow = nullptr;
    int count = 0, countAfterUpdate = 0;
    std::wstring text, updated;
    bool created = false, again = true, added = false, addedBeforeCreate = true;
    LONG_PTR style = 0;
    RunSteps([&](StepsDialog& d) {
        ToolTip tip;
        addedBeforeCreate = tip.AddTool(d.Button(), L"x");
        created = tip.Create(d.Button());
        again = tip.Create(d.Button());
        tipWindow = tip.Handle();
        wchar_t className[64] = {};
        GetClassNameW(tipWindow, className, 64);
        EXPECT_STREQ(className, TOOLTIPS_CLASSW);
        EXPECT_EQ(GetWindow(tipWindow, GW_OWNER), GetAncestor(d.Button(), GA_ROOT));
        style = GetWindowLongPtrW(tipWindow, GWL_STYLE);
        added = tip.AddTool(d.Button(), L"关闭");
        tip.Activate(true);
        count = tip.ToolCount();
        text = tip.ToolText(d.Button());
        tip.UpdateTipText(d.Button(), L"最小化");
        countAfterUpdate = tip.ToolCount();
        updated = tip.ToolText(d.Button());
        MSG move = {};
        move.hwnd = d.Button();
        move.message = WM_MOUSEMOVE;
        move.lParam = MAKELPARAM(2, 2);
        tip.RelayEvent(move);
    });
    EXPECT_FALSE(addedBeforeCreate);
    EXPECT_TRUE(created);
    EXPECT_FALSE(again);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_TRUE(added);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(text, L"关闭");
    EXPECT_EQ(countAfterUpdate, 1);
    EXPECT_EQ(updated, L"最小化");
    EXPECT_FALSE(IsWindow(tipWindow));
}

// The frame button of the plain template, with an image of its own colour per state.
void AttachFrameButton(CMyButton& button, StepsDialog& d)
{
    button.SetBitmaps(SolidBitmap(kRed), SolidBitmap(kGreen), SolidBitmap(kBlue), SolidBitmap(kYellow));
    ASSERT_TRUE(button.Attach(d.Button()));
}

TEST(CMyButton, BecomesOwnerDrawnWhenAttached)
{
    CMyButton button;
    LONG_PTR before = 0, after = 0;
    RunSteps([&](StepsDialog& d) {
        before = GetWindowLongPtrW(d.Button(), GWL_STYLE);
        AttachFrameButton(button, d);
        after = GetWindowLongPtrW(d.Button(), GWL_STYLE);
    });
    EXPECT_EQ(before & BS_TYPEMASK, BS_PUSHBUTTON);
    EXPECT_EQ(after & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(after & ~static_cast<LONG_PTR>(BS_TYPEMASK), before & ~static_cast<LONG_PTR>(BS_TYPEMASK));
}

// The image follows the mouse: pressed, released outside, hover, leave; a disabled button
// shows its normal image whatever the mouse does, and never its disabled image.
TEST(CMyButton, ShowsTheImageOfItsMouseState)
{
    struct Step {
        const char* what;
        UINT message;  // kDisable: disable the button; WM_NULL: nothing
        LPARAM point;
        LRESULT result;  // -1: not checked
        COLORREF shown;
    };
    const UINT kDisable = WM_APP + 50;
    const Step steps[] = {
        {"at rest", WM_NULL, 0, -1, kRed},
        {"pressed", WM_LBUTTONDOWN, MAKELPARAM(3, 3), -1, kGreen},
        {"released outside", WM_LBUTTONUP, MAKELPARAM(500, 500), -1, kRed},
        {"hover", WM_MOUSEHOVER, MAKELPARAM(3, 3), 1, kBlue},
        {"pressed while hovered", WM_LBUTTONDOWN, MAKELPARAM(3, 3), -1, kGreen},
        {"released inside", WM_LBUTTONUP, MAKELPARAM(3, 3), -1, kBlue},
        {"leave", WM_MOUSELEAVE, 0, 1, kRed},
        {"disabled", kDisable, 0, -1, kRed},
        {"disabled and hovered", WM_MOUSEHOVER, MAKELPARAM(3, 3), 1, kRed},
        {"disabled, hovered and pressed", WM_LBUTTONDOWN, MAKELPARAM(3, 3), -1, kRed},
    };
    CMyButton button;
    std::vector<COLORREF> shown;
    std::vector<LRESULT> results;
    RunSteps([&](StepsDialog& d) {
        AttachFrameButton(button, d);
        for (const Step& step : steps) {
            LRESULT result = 0;
            if (step.message == kDisable)
                EnableWindow(d.Button(), FALSE);
            else if (step.message != WM_NULL)
                result = SendMessageW(d.Button(), step.message, 0, step.point);
            results.push_back(result);
            shown.push_back(PrintedColour(d.Button()));
        }
        if (GetCapture() == d.Button())
            ReleaseCapture();
    });
    ASSERT_EQ(shown.size(), std::size(steps));
    for (size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(steps[i].what);
        EXPECT_EQ(shown[i], steps[i].shown);
        if (steps[i].result != -1) {
            EXPECT_EQ(results[i], steps[i].result);
        }
    }
}

// The drawing message itself, as a parent hands it on: the item state's own selected and
// focus flags play no part.
TEST(CMyButton, DrawsFromItsFlagsNotTheItemsSelectedOrFocusState)
{
    CMyButton button;
    button.SetBitmaps(SolidBitmap(kRed), SolidBitmap(kGreen), SolidBitmap(kBlue), SolidBitmap(kYellow));
    for (UINT state : {0u, static_cast<UINT>(ODS_SELECTED), static_cast<UINT>(ODS_FOCUS), static_cast<UINT>(ODS_DISABLED)}) {
        MemoryCanvas canvas(16, 16);
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.itemState = state;
        item.hDC = canvas.Dc();
        item.rcItem = {0, 0, 16, 16};
        EXPECT_TRUE(button.OnDrawItem(item));
        EXPECT_EQ(canvas.At(8, 8), kRed) << "state " << state;
    }
}

// A move over the button arms tracking: resting there brings the hover image, leaving
// takes it away.
TEST(CMyButton, TracksHoverAndLeaveFromAMove)
{
    CMyButton button;
    COLORREF hovered = 0, left = 0;
    RunSteps([&](StepsDialog& d) {
        AttachFrameButton(button, d);
        RECT r;
        GetWindowRect(d.Button(), &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageW(d.Button(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
        auto pumpUntil = [&](const char* what, COLORREF wanted) {
            COLORREF now = 0;
            WaitFor(what, 2000, 20, [&] {
                now = PrintedColour(d.Button());
                if (now == wanted)
                    return true;
                MSG msg;
                while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                    TranslateMessage(&msg);
                    DispatchMessageW(&msg);
                }
                return false;
            });
            return now;
        };
        hovered = pumpUntil("the hover image", kBlue);
        SetCursorPos(r.right + 200, r.bottom + 200);
        left = pumpUntil("the plain image", kRed);
    });
    EXPECT_EQ(hovered, kBlue);
    EXPECT_EQ(left, kRed);
}

// The first text makes the tooltip with one tool, the button; the second changes its text.
TEST(CMyButton, TooltipMadeOnTheFirstTextAndChangedByTheNext)
{
    CMyButton button;
    HWND before = reinterpret_cast<HWND>(1), tip = nullptr, tipAfterSecond = nullptr, owner = nullptr, root = nullptr;
    int countFirst = 0, countSecond = 0;
    std::wstring first, second;
    LONG_PTR exStyle = 0;
    RunSteps([&](StepsDialog& d) {
        AttachFrameButton(button, d);
        before = button.ToolTipControl().Handle();
        button.SetToolTipText(L"关闭");
        tip = button.ToolTipControl().Handle();
        owner = GetWindow(tip, GW_OWNER);
        root = d.Handle();
        countFirst = button.ToolTipControl().ToolCount();
        first = button.ToolTipControl().ToolText(d.Button());
        exStyle = GetWindowLongPtrW(tip, GWL_STYLE);
        button.SetToolTipText(L"转到下一页");
        tipAfterSecond = button.ToolTipControl().Handle();
        countSecond = button.ToolTipControl().ToolCount();
        second = button.ToolTipControl().ToolText(d.Button());
    });
    EXPECT_EQ(before, nullptr);
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(exStyle & WS_POPUP);
    EXPECT_EQ(countFirst, 1);
    EXPECT_EQ(first, L"关闭");
    EXPECT_EQ(tipAfterSecond, tip);
    EXPECT_EQ(countSecond, 1);
    EXPECT_EQ(second, L"转到下一页");
    EXPECT_EQ(owner, root);  // a popup over a child is owned by the child's top window
    EXPECT_FALSE(IsWindow(tip));  // and goes with it
}

// What reaches a tooltip window: the messages relayed to it.
std::vector<MSG> g_relayed;
WNDPROC g_tipProcedure = nullptr;

LRESULT CALLBACK RecordingTipProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == TTM_RELAYEVENT && lParam)
        g_relayed.push_back(*reinterpret_cast<const MSG*>(lParam));
    return CallWindowProcW(g_tipProcedure, hwnd, message, wParam, lParam);
}

// A mouse message posted to the button passes the modal loop, which offers it to the
// button on its way: the tooltip gets it as a relay.
TEST(CMyButton, MouseMessagesPassingTheLoopReachTheTooltip)
{
    g_relayed.clear();
    CMyButton button;
    HWND item = nullptr;
    RunSteps([&](StepsDialog& d) {
        item = d.Button();
        button.SetBitmaps(SolidBitmap(kRed), nullptr, nullptr, nullptr);
        ASSERT_TRUE(button.Attach(item));
        button.SetToolTipText(L"转到论坛");
        HWND tip = button.ToolTipControl().Handle();
        g_tipProcedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(tip, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingTipProcedure)));
        PostMessageW(item, WM_MOUSEMOVE, 0, MAKELPARAM(4, 5));
    });
    std::vector<MSG> moves;
    for (const MSG& m : g_relayed)
        if (m.message == WM_MOUSEMOVE && m.lParam == MAKELPARAM(4, 5))
            moves.push_back(m);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].hwnd, item);
}

}  // namespace
