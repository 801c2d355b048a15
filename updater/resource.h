#pragma once
// Resource ids of the updater.
#define IDI_UPDATER 101
#define IDD_UPDATE_PROGRESS 102
#define IDC_PROGRESS 1000
#define IDC_PROGRESS_TEXT 1001
#define IDC_PROGRESS_LIST 1003
