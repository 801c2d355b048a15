// Runs boxwatch.exe (next to the own executable) against a process and reads its reports.
//
//   BoxWatcher w;
//   ASSERT_TRUE(w.Start(GetCurrentProcessId(), {"yes"}));
//   int r = MessageBoxW(...);          // blocks until boxwatch answers
//   ASSERT_TRUE(w.Wait(10000));
//   auto boxes = w.Reports();
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct BoxReport {
    std::wstring caption, text;
    std::uintptr_t owner = 0;       // owner window handle, 0 when none
    bool ownerSameProcess = false;  // the owner belongs to the watched process
    std::string buttons;            // e.g. "YES,NO"
    std::string answered;           // e.g. "NO"
    bool hasOwner() const { return owner != 0; }
};

class BoxWatcher {
public:
    BoxWatcher() = default;
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;
    ~BoxWatcher();  // ends a watcher still running and removes its log

    // answers: "ok", "yes", "no", "cancel", "retry", "ignore", "abort"; the last repeats.
    bool Start(DWORD pid, std::vector<std::string> answers, int count = 1, int timeoutMs = 20000);
    // True when boxwatch answered all its boxes and exited 0 within timeoutMs.
    bool Wait(int timeoutMs = 30000);
    // Boxes reported so far, in order (also while boxwatch still runs).
    std::vector<BoxReport> Reports() const;
    // boxwatch's exit code: 0 all answered, 1 timeout or process gone, 2 bad arguments;
    // -1 while running or not started.
    int ExitCode() const { return exitCode_; }
    const std::wstring& LogPath() const { return log_; }

private:
    void Stop();

    HANDLE process_ = nullptr;
    std::wstring log_;
    int exitCode_ = -1;
};
