#include "tray_recorder.h"

#include <cstring>

namespace {

const wchar_t kTrayClass[] = L"Shell_TrayWnd";

// The tip in the shell's payload: at offset 16 in Wine 8, at 32 in later versions.
std::wstring TipOf(const BYTE* data, size_t size)
{
    for (size_t offset : {16u, 32u}) {
        if (size < offset + 128 * sizeof(wchar_t))
            continue;
        wchar_t tip[128];
        memcpy(tip, data + offset, sizeof tip);
        size_t n = 0;
        while (n < 128 && tip[n])
            ++n;
        bool text = n > 0 && n < 128;
        for (size_t i = 0; i < n && text; ++i)
            text = tip[i] >= 0x20;
        if (text)
            return std::wstring(tip, n);
    }
    return L"";
}

}  // namespace

TrayRecorder::~TrayRecorder()
{
    if (hwnd_)
        PostMessageW(hwnd_, WM_CLOSE, 0, 0);
    if (thread_.joinable())
        thread_.join();
}

bool TrayRecorder::Start()
{
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread([this, ready] { Run(ready); });
    WaitForSingleObject(ready, 10000);
    CloseHandle(ready);
    return hwnd_ && FindWindowExW(nullptr, nullptr, kTrayClass, nullptr) == hwnd_;
}

void TrayRecorder::Run(HANDLE ready)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kTrayClass;
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, kTrayClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
    if (hwnd)
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    hwnd_ = hwnd;
    SetEvent(ready);
    MSG msg;
    while (hwnd && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

LRESULT CALLBACK TrayRecorder::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<TrayRecorder*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
    case WM_COPYDATA: {
        const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (!self || !copy || !copy->lpData || copy->cbData < 16)
            return FALSE;
        const auto* data = static_cast<const BYTE*>(copy->lpData);
        DWORD fields[4];
        memcpy(fields, data, sizeof fields);
        TrayRecord record;
        record.message = static_cast<DWORD>(copy->dwData);
        record.window = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(fields[0]));
        record.id = fields[1];
        record.flags = fields[2];
        record.callback = fields[3];
        record.tip = TipOf(data, copy->cbData);
        std::lock_guard<std::mutex> lock(self->mutex_);
        self->records_.push_back(record);
        return TRUE;
    }
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

std::vector<TrayRecord> TrayRecorder::Records() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return records_;
}

bool TrayRecorder::WaitRecords(size_t count, int timeoutMs) const
{
    const DWORD start = GetTickCount();
    while (Records().size() < count) {
        if (GetTickCount() - start >= static_cast<DWORD>(timeoutMs))
            return false;
        Sleep(10);
    }
    return true;
}
