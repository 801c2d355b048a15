#pragma once
// Resource ids of the wait dialog (wait_dialog.rc, included by the program's own script).
#define IDD_WAIT_DIALOG 149
#define IDC_WAIT_BROWSER 1014
