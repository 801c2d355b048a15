#pragma once
// Dialog templates of the Wine test programs (test_dialogs.rc).
#define IDD_TEST_PLAIN 200    // a panel (1002) and a push button (1001)
#define IDD_TEST_BROWSER 201  // two browser places, 1000 and 1010
#define IDD_TEST_KEYS 202     // a static text only, so Enter and Escape reach the dialog
#define IDD_TEST_BROWSER_KEYS 203  // a browser place (1000) between two push buttons (1001, 1003)
#define IDC_TEST_BUTTON 1001
#define IDC_TEST_PANEL 1002
#define IDC_TEST_BUTTON_B 1003
#define IDC_TEST_BROWSER_A 1000
#define IDC_TEST_BROWSER_B 1010
#define IDS_TEST_APP_TITLE 57344
#define IDB_TEST_IMAGE 300  // 12 by 8, all RGB(0xC0, 0x80, 0x40)
