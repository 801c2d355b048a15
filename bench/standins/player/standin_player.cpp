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

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring record = OwnRecordPath(), hold;
    for (int i = 1; argv && i + 1 < argc; i += 2) {
        std::wstring name = argv[i];
        if (name == L"--record")
            record = argv[i + 1];
        else if (name == L"--hold")
            hold = argv[i + 1];
    }
    RecordOwnStart(record);
    return RunRecordedWindow(instance, L"QELPlayerW_C179F3D9-F8B6-42bb-AC0C-D4A4BDAB8BB2", L"stand-in player", record,
                             show, [record, hold](const COPYDATASTRUCT& data, WPARAM wParam) {
                                 RecordCopyData(record, data, wParam);
                                 if (!hold.empty())
                                     WaitForFile(hold, 120000);
                             });
}
