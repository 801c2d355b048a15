#pragma once
// Stand-in notification area for the test prefix: a top-level window of the class
// "Shell_TrayWnd", owned by the test on a thread of its own, that records every
// WM_COPYDATA the shell's Shell_NotifyIconW sends it and answers TRUE.
//
//   StandinTray tray;
//   ASSERT_TRUE(tray.Start());      // the window exists and the shell finds it at return
//   ... the program under test adds, modifies, deletes its icon ...
//   ASSERT_TRUE(tray.WaitForRecords(1));
//   TrayRecord add = tray.Records()[0];  // add.command == NIM_ADD, add.id, add.Tip() ...
#include <windows.h>

#include <condition_variable>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct TrayRecord {
    DWORD time = 0;             // GetTickCount() at arrival
    ULONG_PTR command = 0;      // dwData: NIM_ADD 0, NIM_MODIFY 1, NIM_DELETE 2
    HWND sender = nullptr;      // the message's wParam
    std::string bytes;          // the payload as sent
    // The payload's leading fields: the icon's window (32 bits), id, flags, callback message.
    HWND window = nullptr;
    UINT id = 0;
    UINT flags = 0;
    UINT callbackMessage = 0;
    // The tip: at offset 16 in Wine 8's payload, at 32 in later versions; both are read
    // (up to 128 characters, ended by the first zero).
    std::wstring tipAt16;
    std::wstring tipAt32;
    // The tip of the payload's layout: the one at 16 unless it is empty and the one at 32 is not.
    const std::wstring& Tip() const { return tipAt16.empty() && !tipAt32.empty() ? tipAt32 : tipAt16; }
};

// Decodes one payload (what the window records).
TrayRecord ReadTrayPayload(ULONG_PTR command, const void* data, DWORD size);

class StandinTray {
public:
    StandinTray() = default;
    StandinTray(const StandinTray&) = delete;
    StandinTray& operator=(const StandinTray&) = delete;
    ~StandinTray();  // destroys the window and ends its thread

    // Creates the window on its thread; true once it exists and IsTheTray() holds.
    bool Start();
    HWND Window() const { return hwnd_; }
    // FindWindowExW(0, 0, L"Shell_TrayWnd", nullptr) finds this window (and not, say, one
    // of Wine's desktop).
    bool IsTheTray() const;

    std::vector<TrayRecord> Records() const;
    // Waits until at least count records have come; false after timeoutMs.
    bool WaitForRecords(size_t count, int timeoutMs = 10000) const;
    void Clear();

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Run(std::promise<bool>* ready);
    void Record(const TrayRecord& record);

    HWND hwnd_ = nullptr;
    DWORD threadId_ = 0;
    std::thread thread_;
    mutable std::mutex lock_;
    mutable std::condition_variable arrived_;
    std::vector<TrayRecord> records_;
};
