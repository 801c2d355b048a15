// Stand-in player: owns a window of the player's class, created before its first message
// loop, and records its start, every WM_COPYDATA and WM_CLOSE (player_record.h).
//
//   qelplayer.exe [--record FILE] [--hold FILE]
//
// --record: the record file (else QEL_PLAYER_RECORD, else beside the program, ".record").
// --hold: each WM_COPYDATA, once recorded, is answered only when FILE exists (at most
// 120 s), so that its sender stays blocked meanwhile.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "bench_files.h"
#include "player_record.h"

namespace {

std::wstring g_record;
std::wstring g_hold;

LRESULT CALLBACK PlayerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COPYDATA: {
        RecordCopyData(g_record, *reinterpret_cast<const COPYDATASTRUCT*>(lParam), wParam);
        if (!g_hold.empty())
            WaitForFile(g_hold, 120000);
        return TRUE;
    }
    case WM_CLOSE:
        RecordClose(g_record);
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    g_record = OwnRecordPath();
    for (int i = 1; argv && i + 1 < argc; i += 2) {
        std::wstring name = argv[i];
        if (name == L"--record")
            g_record = argv[i + 1];
        else if (name == L"--hold")
            g_hold = argv[i + 1];
    }
    RecordOwnStart(g_record);

    WNDCLASSW wc = {};
    wc.lpfnWndProc = PlayerProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"QELPlayerW_C179F3D9-F8B6-42bb-AC0C-D4A4BDAB8BB2";
    if (!RegisterClassW(&wc))
        return 1;
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"stand-in player", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 320, 200, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    ShowWindow(window, show);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
