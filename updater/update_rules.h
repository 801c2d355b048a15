#pragma once
// The updater's rules that need no window: the update description, the build comparison,
// the keys of update.ini, and the result codes of the HTTP client.
#include <cstdint>
#include <functional>
#include <string>

#include "resource.h"

// The texts of one component, each zero-terminated within its field.
struct ComponentBlock {
    char version[256];
    char build[256];
    char download[1024];
    char description[2048];
};

// The components in the order the worker takes them.
enum Component { kPlayer = 0, kParser = 1, kGenal = 2, kComponentCount = 3 };

constexpr uint32_t UPDATE_PLAYER = 8;
constexpr uint32_t UPDATE_PARSER = 4;
constexpr uint32_t UPDATE_GENAL = 2;

uint32_t ComponentFlag(Component c);

struct UpdateDescription {
    bool singleFormat = false;
    ComponentBlock blocks[kComponentCount];  // indexed by Component
};

// Reads the description text (null reads as empty). A non-empty "<root>" element selects the
// three-component format, whose blocks ("<player>", "<parser>", "<genal>") are searched in the
// whole text, each from its start tag to the first end tag after it, and read whole; otherwise
// the whole text is the player's block. A missing tag leaves its field empty.
void ReadUpdateDescription(const char* text, UpdateDescription& out);

// The build number of a build text, as the run-time atoi reads it.
int32_t BuildNumber(const char* text);
// True when the description's build is greater than the recorded one.
bool IsNewerBuild(const char* descriptionBuild, const char* recordedBuild);

// A key of update.ini: the id of its string resource, or kFixedBuildKey for the single
// format's "build", which is fixed text; kNoKey for none.
using IniKey = uint32_t;
constexpr IniKey kNoKey = 0;
constexpr IniKey kFixedBuildKey = 1;
constexpr IniKey kSettingsSectionId = IDS_SETTINGS_SECTION;
extern const char kFixedBuildKeyText[];
extern const char kDefaultRecordedBuild[];
// The key that records a component's build in a format; kNoKey for the parser and the genal
// of the single format (they are never newer there).
IniKey RecordedBuildKey(bool singleFormat, Component c);

// The flags of the components whose description build is newer than the recorded build,
// which readRecorded gives for a key (the file's value, or the default). Keys are read in
// the order player, parser, genal.
uint32_t NewerComponents(const UpdateDescription& d, const std::function<std::string(IniKey key)>& readRecorded);

// A system error e as a result code: (e & 0xFFFF) | 0x80070000; a failure that left no
// error (0) still fails, as E_FAIL.
uint32_t ResultFromError(uint32_t error);
constexpr uint32_t kResultWriteFailed = 1;
