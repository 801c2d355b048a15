// Stand-in player: owns a window of the player's class, created before its first message
// loop, and records its start, every WM_COPYDATA and WM_CLOSE (player_record.h).
//
//   qelplayer.exe [--record FILE] [--hold FILE]
//
// --record: the record file (else QEL_PLAYER_RECORD, else beside the program, ".record").
// --hold: each WM_COPYDATA, once recorded, is answered only when FILE exists (at most
// 120 s), so that its sender stays blocked meanwhile.
#include <windows.h>

#include <string>
#include <vector>

#include "bench_files.h"
#include "player_record.h"

namespace {

// The command line's words: blanks between them, double quotes around a word with blanks.
// (shell32 stays unloaded: its start-up may let the process look idle before the window exists.)
std::vector<std::wstring> Words(const wchar_t* line)
{
    std::vector<std::wstring> words;
    std::wstring word;
    bool quoted = false, any = false;
    for (const wchar_t* p = line;; ++p) {
        if (*p == L'"') {
            quoted = !quoted;
            any = true;
        } else if (*p && (quoted || (*p != L' ' && *p != L'\t'))) {
            word += *p;
            any = true;
        } else {
            if (any)
                words.push_back(word);
            word.clear();
            any = false;
            if (!*p)
                return words;
        }
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    const std::vector<std::wstring> argv = Words(GetCommandLineW());
    const size_t argc = argv.size();
    std::wstring record = OwnRecordPath(), hold;
    for (size_t i = 1; i + 1 < argc; i += 2) {
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
