// boxwatch against real message boxes raised by this process.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>

#include "boxwatch_client.h"
#include "test_dialogs.h"

namespace {

std::uintptr_t Handle(HWND h) { return reinterpret_cast<std::uintptr_t>(h); }

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST(BoxWatch, ChineseOkBoxWithoutOwner) {
    BoxWatcher w;
    ASSERT_TRUE(w.Start(GetCurrentProcessId(), {"ok"}));
    const wchar_t* text = L"出错\n文件 C:\\视频\\片.mp4 无法打开";
    EXPECT_EQ(MessageBoxW(nullptr, text, L"提示", MB_OK | MB_ICONERROR), IDOK);
    ASSERT_TRUE(w.Wait());
    auto r = w.Reports();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].caption, L"提示");
    EXPECT_EQ(r[0].text, text);
    EXPECT_FALSE(r[0].hasOwner());
    EXPECT_EQ(r[0].buttons, "OK");
    EXPECT_EQ(r[0].answered, "OK");
}

TEST(BoxWatch, YesNoAnsweredNoReturnsIdNo) {
    BoxWatcher w;
    ASSERT_TRUE(w.Start(GetCurrentProcessId(), {"no"}));
    EXPECT_EQ(MessageBoxW(nullptr, L"继续吗？", L"确认", MB_YESNO | MB_ICONQUESTION), IDNO);
    ASSERT_TRUE(w.Wait());
    auto r = w.Reports();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].buttons, "YES,NO");
    EXPECT_EQ(r[0].answered, "NO");
}

TEST(BoxWatch, ReportsOwnerWindowOfThisProcess) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    BoxWatcher w;
    ASSERT_TRUE(w.Start(GetCurrentProcessId(), {"cancel"}));
    EXPECT_EQ(MessageBoxW(owner, L"text", L"owned", MB_OKCANCEL), IDCANCEL);
    ASSERT_TRUE(w.Wait());
    DestroyWindow(owner);
    auto r = w.Reports();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].owner, Handle(owner));
    EXPECT_TRUE(r[0].ownerSameProcess);
    EXPECT_EQ(r[0].buttons, "OK,CANCEL");
    EXPECT_EQ(r[0].answered, "CANCEL");
}

// Answers are used in order and the last repeats; a wanted button that the box lacks
// falls back to CANCEL, else OK.
TEST(BoxWatch, SeveralBoxesAnsweredInOrder) {
    struct Case {
        UINT type;
        int result;
        const char* buttons;
        const char* answered;
    };
    const Case cases[] = {
        {MB_YESNOCANCEL, IDYES, "YES,NO,CANCEL", "YES"},
        {MB_RETRYCANCEL, IDRETRY, "RETRY,CANCEL", "RETRY"},
        {MB_ABORTRETRYIGNORE, IDRETRY, "ABORT,RETRY,IGNORE", "RETRY"},
        {MB_OK, IDOK, "OK", "OK"},
    };
    const int n = sizeof cases / sizeof cases[0];
    BoxWatcher w;
    ASSERT_TRUE(w.Start(GetCurrentProcessId(), {"yes", "retry"}, n));
    for (int i = 0; i < n; ++i) {
        std::wstring caption = L"第" + std::to_wstring(i + 1) + L"个";
        EXPECT_EQ(MessageBoxW(nullptr, L"?", caption.c_str(), cases[i].type), cases[i].result)
            << "box " << i + 1;
    }
    ASSERT_TRUE(w.Wait());
    auto r = w.Reports();
    ASSERT_EQ(r.size(), static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(r[i].caption, L"第" + std::to_wstring(i + 1) + L"个");
        EXPECT_EQ(r[i].buttons, cases[i].buttons) << "box " << i + 1;
        EXPECT_EQ(r[i].answered, cases[i].answered) << "box " << i + 1;
    }
}

// A program's own dialog with no box button (a window of the box's class, visible, with a
// text of id -1), or with a Cancel button but no box text, is passed over; the box it owns is
// answered.
TEST(BoxWatch, DialogWithoutBoxButtonsIsNoBox) {
    HWND withCancel = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_TEST_CANCEL), nullptr,
                                         PlainDialogProc, 0);
    ASSERT_NE(withCancel, nullptr);
    ASSERT_TRUE(IsWindowVisible(withCancel));
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_TEST_KEYS), nullptr,
                                     PlainDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(IsWindowVisible(dialog));
    BoxWatcher alone;
    ASSERT_TRUE(alone.Start(GetCurrentProcessId(), {"ok"}, 1, 300));
    EXPECT_FALSE(alone.Wait());
    EXPECT_TRUE(alone.Reports().empty());
    EXPECT_TRUE(IsWindow(dialog));

    BoxWatcher w;
    ASSERT_TRUE(w.Start(GetCurrentProcessId(), {"ok"}));
    EXPECT_EQ(MessageBoxW(dialog, L"text", L"owned by a dialog", MB_OK), IDOK);
    ASSERT_TRUE(w.Wait());
    auto r = w.Reports();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].caption, L"owned by a dialog");
    EXPECT_EQ(r[0].owner, Handle(dialog));
    EXPECT_TRUE(IsWindow(withCancel));
    DestroyWindow(dialog);
    DestroyWindow(withCancel);
}

TEST(BoxWatch, NoBoxTimesOut) {
    BoxWatcher w;
    ASSERT_TRUE(w.Start(GetCurrentProcessId(), {"ok"}, 1, 200));
    EXPECT_FALSE(w.Wait());
    EXPECT_EQ(w.ExitCode(), 1);
    EXPECT_TRUE(w.Reports().empty());
}

}  // namespace
