#pragma once
// Resource ids of the updater.
#define IDI_UPDATER 101
#define IDD_UPDATE_PROGRESS 102
#define IDC_PROGRESS 1000
#define IDC_PROGRESS_TEXT 1001
#define IDC_PROGRESS_LIST 1003
// The section and keys of update.ini.
#define IDS_SETTINGS_SECTION 2000
#define IDS_PARSE_BUILD_KEY 2002
#define IDS_PLAYER_BUILD_KEY 2005
#define IDS_GENAL_BUILD_KEY 2008
