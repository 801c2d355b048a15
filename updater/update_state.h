#pragma once
// The records the update check fills and the update worker reads: final before the
// progress dialog starts, only read afterwards (but for the dialog's handle).
#include <windows.h>

#include <cstdint>
#include <string>

#include "update_rules.h"

struct UpdateJob {
    HWND dialog = nullptr;
    std::wstring playerAddress, parserAddress, genalAddress;
    uint32_t flags = 0;

    const std::wstring& Address(Component c) const
    {
        return c == kPlayer ? playerAddress : c == kParser ? parserAddress : genalAddress;
    }
};

extern UpdateJob g_updateJob;
extern ComponentBlock g_componentBlocks[kComponentCount];
extern bool g_bSingleFormat;
extern std::wstring g_strIniPath;
// The folder of update.ini, ending in "\\": the installers' download folder.
extern std::wstring g_strDownloadFolder;

// A zero-terminated 8-bit text in a code page as UTF-16.
std::wstring WideFrom(const char* text, UINT codePage);

// A string resource of the program; empty when it has none.
std::wstring ProgramString(UINT id);
// The text of a key of update.ini, or of its section (kSettingsSectionId).
std::wstring IniKeyText(IniKey key);

// The user's application-data folder with a backslash appended; empty when there is none
// (the folder is never created).
std::wstring GetAppDataFolder();
