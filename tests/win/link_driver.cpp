// A program running the link handling the way qelagent does: a dialog window on the main
// thread, the link on a worker that posts WM_CLOSE to it when done. Built once per build of
// the module (link_driver_pelorama.exe, link_driver_agent.exe).
//
//   link_driver_<build>.exe LINK_FILE
//
// LINK_FILE holds the link in UTF-8. The window owns the agent build's boxes.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "bench_files.h"
#include "link_win.h"

namespace {

DWORD WINAPI LinkWorker(LPVOID param)
{
    LinkContext& context = *static_cast<LinkContext*>(param);
    HandleZflvLink(context);
    context.PostToDialog(WM_CLOSE);
    return 0;
}

LRESULT CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2)
        return 2;
    const std::wstring link = Wide(ReadWholeFile(argv[1]));

    WNDCLASSW wc = {};
    wc.lpfnWndProc = DialogProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"LinkDriverDialog";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"link driver", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                  instance, nullptr);
    if (!window)
        return 3;
    auto context = MakeLinkContext(link, window);
    HANDLE worker = CreateThread(nullptr, 0, LinkWorker, context.get(), 0, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    WaitForSingleObject(worker, INFINITE);
    CloseHandle(worker);
    return context->siteCode;
}
