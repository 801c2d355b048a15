// Program-start recorder: stands in for a program that the code under test starts (the
// installers, the agent, pelorama, the player; the decoy above a run folder). It records its
// start (player_record.h) and ends at once, or, when a window class is given, owns a
// top-level window of that class, created before its first message loop, records WM_CLOSE
// and ends then.
//
//   <name>.exe [any arguments]     the record: QEL_PLAYER_RECORD, else <name>.record beside it
//   <name>.window beside it        UTF-8: the class of its window (RunFolder::AddRecorder)
#include <windows.h>

#include <string>

#include "bench_files.h"
#include "player_record.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    const std::wstring record = OwnRecordPath();
    RecordOwnStart(record);
    const std::wstring windowClass = Wide(ReadWholeFile(RecorderWindowFile(ModulePath(nullptr))));
    if (windowClass.empty())
        return 0;
    return RunRecordedWindow(instance, windowClass, windowClass, record, show);
}
