#pragma once
// The update worker's rules that need no window: where an installer goes, what the
// progress shows, and which builds update.ini records.
#include <cstdint>
#include <string>
#include <vector>

#include "update_rules.h"

// The longest installer path, in UTF-16 units without the terminator.
constexpr size_t kMaxInstallerPath = 511;

// The installer's path: folder followed by the address's text after its last "/" (the whole
// address without one). False, with path untouched, when that name is empty, "." or "..",
// holds "\", "/", ":" or a control character, or makes a path longer than kMaxInstallerPath:
// nothing may be written outside the folder. Also false for the names Windows sends to
// another file or a device: "update.ini" in any case (the updater's own profile, in the same
// folder), a name ending in "." or " " (Windows drops them), and a device name before the
// first "." (trailing blanks dropped): CON, PRN, AUX, NUL, COM0-COM9, LPT0-LPT9, COM and LPT
// with a superscript 1 to 3, CONIN$, CONOUT$, in any case.
bool InstallerPath(const std::u16string& folder, const std::u16string& address, std::u16string& path);

// The bar's position for done of total bytes, at most 100; false when the total is unknown
// (0): the bar stays where it is.
bool ProgressPosition(uint32_t total, uint32_t done, uint32_t& position);
// "<done / 1024>K / <total / 1024>K".
std::string ProgressText(uint32_t total, uint32_t done);

// Which progress calls reach the dialog: a new bar position, the first call after a quiet
// spell of kProgressQuietMs, a call that repeats the previous done value (the last call of a
// download) and one with a lower done value (a new download), so that the final count of a
// whole download shows; the rest would only make a fast download wait for the dialog. A
// failed download has no repeated last call: TakeHeldBack, when it has ended, tells whether
// its last call was held back and must be shown now.
constexpr uint32_t kProgressQuietMs = 50;
class ProgressThrottle {
public:
    bool Show(uint32_t done, uint32_t position, uint32_t nowMs);
    // True, once, when the last call was not shown; it then counts as shown at nowMs.
    bool TakeHeldBack(uint32_t nowMs);

private:
    bool started_ = false, heldBack_ = false;
    uint32_t done_ = 0, position_ = 0, shownAt_ = 0, lastPosition_ = 0;
};

// One value written to update.ini after an update: the key and whose build it holds.
struct BuildRecord {
    IniKey key;
    Component component;
};
// In the order they are written: the single format "player_build" then "build", both the
// player's; the three-component format "player_build", "genal_build", "parse_build". The
// components of notStarted (flags) are left out: an installer that could not be started
// installed nothing, and its build must stay unrecorded so that it is offered again.
std::vector<BuildRecord> BuildRecords(bool singleFormat, uint32_t notStarted);
