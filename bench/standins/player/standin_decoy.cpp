// Decoy: stands where an unquoted start of a program in a folder with a blank would land.
// It records its start (player_record.h) and ends at once, with no window.
#include <windows.h>

#include "player_record.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    RecordOwnStart(OwnRecordPath());
    return 0;
}
