#pragma once
// Resource ids of qelagent.
#define IDD_QELAGENT_DIALOG 102
#define IDR_MAINFRAME 128
#define IDC_WELCOME_BROWSER 1000
