#pragma once
// A test-owned notification area: a top-level window of the class "Shell_TrayWnd", run on a
// thread of its own, that records every WM_COPYDATA the shell's Shell_NotifyIconW sends it
// and answers TRUE.
//
//   TrayRecorder tray;
//   ASSERT_TRUE(tray.Start());          // false when another "Shell_TrayWnd" is found first
//   ... the program under test adds its icon ...
//   ASSERT_TRUE(tray.WaitRecords(1));
//   EXPECT_EQ(tray.Records()[0].message, NIM_ADD);
#include <windows.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct TrayRecord {
    DWORD message = 0;  // NIM_ADD 0, NIM_MODIFY 1, NIM_DELETE 2
    HWND window = nullptr;
    UINT id = 0, flags = 0, callback = 0;
    std::wstring tip;
};

class TrayRecorder {
public:
    TrayRecorder() = default;
    TrayRecorder(const TrayRecorder&) = delete;
    TrayRecorder& operator=(const TrayRecorder&) = delete;
    ~TrayRecorder();

    // Creates the window; true when FindWindowExW(0, 0, "Shell_TrayWnd", 0) then finds it.
    bool Start();
    HWND Handle() const { return hwnd_; }

    std::vector<TrayRecord> Records() const;
    // Waits until count records have arrived; false after timeoutMs.
    bool WaitRecords(size_t count, int timeoutMs = 10000) const;

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Run(HANDLE ready);

    std::thread thread_;
    HWND hwnd_ = nullptr;
    mutable std::mutex mutex_;
    std::vector<TrayRecord> records_;
};
