// The stand-in notification area: its window thread and the decoding of the shell's payload.
#include "standin_tray.h"

#include <chrono>
#include <cstring>

namespace {

const wchar_t kTrayClass[] = L"Shell_TrayWnd";
const size_t kTipCharacters = 128;

UINT ReadUint(const unsigned char* bytes, DWORD size, size_t offset)
{
    UINT value = 0;
    if (offset + sizeof value <= size)
        std::memcpy(&value, bytes + offset, sizeof value);
    return value;
}

std::wstring ReadTip(const unsigned char* bytes, DWORD size, size_t offset)
{
    std::wstring tip;
    for (size_t i = 0; i < kTipCharacters && offset + 2 * i + 2 <= size; ++i) {
        wchar_t c;
        std::memcpy(&c, bytes + offset + 2 * i, sizeof c);
        if (c == L'\0')
            break;
        tip += c;
    }
    return tip;
}

}  // namespace

TrayRecord ReadTrayPayload(ULONG_PTR command, const void* data, DWORD size)
{
    TrayRecord r;
    r.command = command;
    r.time = GetTickCount();
    if (!data)
        size = 0;
    const auto* bytes = static_cast<const unsigned char*>(data);
    r.bytes.assign(reinterpret_cast<const char*>(bytes), size);
    // Window handles keep 32 significant bits, so the payload carries 32.
    r.window = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(ReadUint(bytes, size, 0)));
    r.id = ReadUint(bytes, size, 4);
    r.flags = ReadUint(bytes, size, 8);
    r.callbackMessage = ReadUint(bytes, size, 12);
    r.tipAt16 = ReadTip(bytes, size, 16);
    r.tipAt32 = ReadTip(bytes, size, 32);
    return r;
}

StandinTray::~StandinTray()
{
    if (thread_.joinable()) {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
}

bool StandinTray::Start()
{
    if (thread_.joinable())
        return false;
    std::promise<bool> ready;
    std::future<bool> made = ready.get_future();
    thread_ = std::thread(&StandinTray::Run, this, &ready);
    return made.get() && IsTheTray();
}

bool StandinTray::IsTheTray() const
{
    return hwnd_ && FindWindowExW(nullptr, nullptr, kTrayClass, nullptr) == hwnd_;
}

void StandinTray::Run(std::promise<bool>* ready)
{
    threadId_ = GetCurrentThreadId();
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &StandinTray::Procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kTrayClass;
    RegisterClassExW(&wc);  // fails harmlessly when a tray before this one registered it
    hwnd_ = CreateWindowExW(0, kTrayClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    if (hwnd_)
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue exists before ready
    ready->set_value(hwnd_ != nullptr);
    if (!hwnd_)
        return;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

LRESULT CALLBACK StandinTray::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* tray = reinterpret_cast<StandinTray*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_COPYDATA && tray && lParam) {
        const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        TrayRecord record = ReadTrayPayload(copy->dwData, copy->lpData, copy->cbData);
        record.sender = reinterpret_cast<HWND>(wParam);
        tray->Record(record);
        return TRUE;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void StandinTray::Record(const TrayRecord& record)
{
    std::lock_guard<std::mutex> hold(lock_);
    records_.push_back(record);
    arrived_.notify_all();
}

std::vector<TrayRecord> StandinTray::Records() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return records_;
}

bool StandinTray::WaitForRecords(size_t count, int timeoutMs) const
{
    std::unique_lock<std::mutex> hold(lock_);
    return arrived_.wait_for(hold, std::chrono::milliseconds(timeoutMs),
                             [&] { return records_.size() >= count; });
}

void StandinTray::Clear()
{
    std::lock_guard<std::mutex> hold(lock_);
    records_.clear();
}
