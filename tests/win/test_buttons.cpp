// The window layer's common controls under Wine, in the test's own process: the embedded
// manifest, the attach hook, the bitmap button base and the tooltip wrapper. Drawings are
// read from a memory device context, never from the screen.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

#include "bitmap_button.h"
#include "dialog.h"
#include "test_dialogs.h"
#include "tooltip.h"

using winui::BitmapButton;
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
// from OnInitDialog and ends.
class StepsDialog : public Dialog {
public:
    explicit StepsDialog(std::function<void(StepsDialog&)> steps) : Dialog(IDD_TEST_PLAIN), steps_(std::move(steps)) {}
    BOOL OnInitDialog() override
    {
        steps_(*this);
        EndDialog(IDOK);
        return TRUE;
    }
    HWND Button() const { return GetDlgItem(Handle(), IDC_TEST_BUTTON); }

private:
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

}  // namespace
