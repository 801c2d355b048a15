#pragma once
// The record of the stand-in player and of the program-start recorder: what a test reads back.
//
// One UTF-8 line per event, appended to the record file and closed at once:
//   start pid=<n> show=<n> module=<path> cmdline=<command line>
//   copydata t=<system time, 100 ns units> data=0x<hex> bytes=<n> wparam=0x<hex> raw=<hex of the bytes> [site=.. address=.. title=..]
//   close
// Texts escape "\\", "\n" and "\r". The fields after raw are for the eye; a reader takes
// address, title and site code from the raw bytes.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct PlayerStart {
    DWORD pid = 0;
    int showCode = -1;  // -1: started without STARTF_USESHOWWINDOW
    std::wstring module, commandLine;
};

struct PlayerCopyData {
    uint64_t time = 0;  // when it arrived: system time, 100 ns units
    uint64_t dataWord = 0;
    uint32_t byteCount = 0;
    uint64_t wParam = 0;
    std::vector<unsigned char> raw;  // the bytes as they arrived
    // From raw when it holds the 1540-byte record: each string up to its first zero unit.
    std::wstring address, title;
    int32_t siteCode = 0;
    bool isRecord = false;
};

struct PlayerRecord {
    std::vector<PlayerStart> starts;
    std::vector<PlayerCopyData> copies;
    int closes = 0;
};

// Reads a record file; a missing file reads as an empty record.
PlayerRecord ReadPlayerRecord(const std::wstring& path);

// The record path of the running program: QEL_PLAYER_RECORD when set, else the program's
// own path with the extension ".record".
std::wstring OwnRecordPath();
// Where a recorder at programPath records its start when QEL_PLAYER_RECORD is not set.
std::wstring RecorderRecordPath(const std::wstring& programPath);
// The file that names the recorder's window class: the program's path with the extension
// ".window" in place of its own.
std::wstring RecorderWindowFile(const std::wstring& programPath);
// Appends the start line of the running program.
void RecordOwnStart(const std::wstring& recordPath);
void RecordCopyData(const std::wstring& recordPath, const COPYDATASTRUCT& data, WPARAM wParam);
void RecordClose(const std::wstring& recordPath);

// Owns a top-level window of windowClass, created before the first message loop, until
// WM_CLOSE, which it records; onCopyData, when set, is given every WM_COPYDATA (answered
// TRUE once it returns). Returns the program's exit code.
int RunRecordedWindow(HINSTANCE instance, const std::wstring& windowClass, const std::wstring& title,
                      const std::wstring& recordPath, int show,
                      std::function<void(const COPYDATASTRUCT&, WPARAM)> onCopyData = nullptr);

// A top-level window of the player's class, of process pid (0: of any process); null when none.
HWND FindPlayerWindowOf(DWORD pid);

// Ends the processes of a record's starts that still own a player window (players the code
// under test started): WM_CLOSE to the window, terminated when still running after timeoutMs.
void EndRecordedPlayers(const PlayerRecord& record, DWORD timeoutMs = 5000);

// Waits until the record at path holds at least count copies (or count starts when
// starts is true); false after timeoutMs.
bool WaitForRecord(const std::wstring& path, size_t count, bool starts, DWORD timeoutMs = 15000);

// Runs one stand-in player from a test.
//   StandinPlayer player;
//   ASSERT_TRUE(player.Start(folder + L"qelplayer.exe"));   // its window exists at return
//   ... the code under test sends records ...
//   PlayerRecord r = ReadPlayerRecord(folder + L"qelplayer.record");
class StandinPlayer {
public:
    StandinPlayer() = default;
    StandinPlayer(const StandinPlayer&) = delete;
    StandinPlayer& operator=(const StandinPlayer&) = delete;
    ~StandinPlayer();  // ends a player still running

    // Starts exe with the arguments (e.g. L"--hold C:\\x\\go"), waits until its window exists.
    bool Start(const std::wstring& exe, const std::wstring& arguments = L"", DWORD timeoutMs = 15000);
    HWND Window() const { return window_; }
    DWORD Pid() const { return pid_; }
    // Posts WM_CLOSE to its window and waits for the process to end.
    bool Close(DWORD timeoutMs = 15000);

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
    HWND window_ = nullptr;
};
