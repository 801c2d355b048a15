// The stand-in notification area: the shell finds it, and it records what the shell's
// Shell_NotifyIconW sends for an add, a change of tip and a delete.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <string>

#include "standin_tray.h"

namespace {

NOTIFYICONDATAW IconData(HWND window, UINT id)
{
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = id;
    return data;
}

TEST(StandinTray, RecordsTheShellsAddModifyAndDelete)
{
    StandinTray tray;
    ASSERT_TRUE(tray.Start()) << "another window of the class Shell_TrayWnd is found first";
    EXPECT_TRUE(tray.IsTheTray());

    HWND owner = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    const UINT callback = WM_APP + 77;
    NOTIFYICONDATAW add = IconData(owner, 128);
    add.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    add.uCallbackMessage = callback;
    add.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wcscpy(add.szTip, L"pelorama");
    EXPECT_TRUE(Shell_NotifyIconW(NIM_ADD, &add));

    NOTIFYICONDATAW modify = IconData(owner, 128);
    modify.uFlags = NIF_TIP;
    wcscpy(modify.szTip, L"精彩视频");
    EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &modify));

    NOTIFYICONDATAW remove = IconData(owner, 128);
    EXPECT_TRUE(Shell_NotifyIconW(NIM_DELETE, &remove));

    ASSERT_TRUE(tray.WaitForRecords(3));
    auto records = tray.Records();
    ASSERT_EQ(records.size(), 3u);
    struct Expected {
        ULONG_PTR command;
        UINT flags;
        UINT callback;
        std::wstring tip;
    };
    const Expected expected[] = {
        {NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP, callback, L"pelorama"},
        {NIM_MODIFY, NIF_TIP, 0, L"精彩视频"},
        {NIM_DELETE, 0, 0, L""},
    };
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const TrayRecord& r = records[i];
        EXPECT_EQ(r.command, expected[i].command);
        EXPECT_EQ(r.window, owner);
        EXPECT_EQ(r.sender, owner);
        EXPECT_EQ(r.id, 128u);
        EXPECT_EQ(r.flags, expected[i].flags);
        EXPECT_EQ(r.callbackMessage, expected[i].callback);
        EXPECT_EQ(r.Tip(), expected[i].tip);
    }
    DestroyWindow(owner);
}

// The tip is read at both places a payload may hold it, never past the payload's end.
TEST(StandinTray, ReadsTheTipAtBothOffsetsWithinThePayload)
{
    unsigned char payload[16 + 2 * 128] = {};
    const UINT fields[4] = {0x1234, 7, NIF_TIP, 0};
    std::memcpy(payload, fields, sizeof fields);
    const wchar_t tip[] = L"ab";
    std::memcpy(payload + 16, tip, sizeof tip);
    TrayRecord r = ReadTrayPayload(NIM_MODIFY, payload, sizeof payload);
    EXPECT_EQ(r.window, reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x1234)));
    EXPECT_EQ(r.id, 7u);
    EXPECT_EQ(r.flags, static_cast<UINT>(NIF_TIP));
    EXPECT_EQ(r.tipAt16, L"ab");
    EXPECT_EQ(r.Tip(), L"ab");

    unsigned char later[32 + 2 * 128] = {};
    std::memcpy(later, fields, sizeof fields);
    std::memcpy(later + 32, tip, sizeof tip);
    EXPECT_EQ(ReadTrayPayload(NIM_MODIFY, later, sizeof later).Tip(), L"ab");

    // A tip that runs to the end of a short payload is cut there.
    unsigned char shortPayload[20] = {};
    std::memcpy(shortPayload + 16, L"xyz", 4);
    EXPECT_EQ(ReadTrayPayload(NIM_ADD, shortPayload, sizeof shortPayload).tipAt16, L"xy");
    EXPECT_TRUE(ReadTrayPayload(NIM_ADD, nullptr, 40).bytes.empty());
}

}  // namespace
