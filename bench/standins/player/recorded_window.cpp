// The recorded top-level window that the stand-in player and the recorder own.
#include "player_record.h"

namespace {

struct WindowState {
    std::wstring record;
    std::function<void(const COPYDATASTRUCT&, WPARAM)> onCopyData;
};
WindowState g_state;

LRESULT CALLBACK RecordedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COPYDATA:
        if (!g_state.onCopyData)
            break;
        g_state.onCopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lParam), wParam);
        return TRUE;
    case WM_CLOSE:
        RecordClose(g_state.record);
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int RunRecordedWindow(HINSTANCE instance, const std::wstring& windowClass, const std::wstring& title,
                      const std::wstring& recordPath, int show,
                      std::function<void(const COPYDATASTRUCT&, WPARAM)> onCopyData)
{
    g_state.record = recordPath;
    g_state.onCopyData = std::move(onCopyData);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = RecordedProc;
    wc.hInstance = instance;
    wc.lpszClassName = windowClass.c_str();
    if (!RegisterClassW(&wc))
        return 1;
    HWND window = CreateWindowExW(0, wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
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
