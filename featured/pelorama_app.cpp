#include "pelorama_app.h"

#include "link_road.h"
#include "popup_wnd_dlg.h"
#include "single_instance.h"

namespace {
const wchar_t kMainFrameClass[] = L"QELPLAYERPELORAMA";
}

bool RegisterMainFrameClass(HINSTANCE instance)
{
    WNDCLASSW wc;
    if (GetClassInfoW(instance, kMainFrameClass, &wc))
        return true;
    if (!GetClassInfoW(instance, L"#32770", &wc))
        return false;
    wc.hInstance = instance;
    wc.lpszClassName = kMainFrameClass;
    return RegisterClassW(&wc) != 0;
}

bool CPoPupWndApp::OnCommand(UINT id)
{
    switch (id) {
    case winui::ID_HELP:
        OnHelp();
        return true;
    }
    return false;
}

bool CPoPupWndApp::InitInstance()
{
    if (!RegisterMainFrameClass(Instance())) {
        MessageBoxW(nullptr, L"MainFrm class registration failed!", Name().c_str(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    // A second start shows the first instance's window and ends.
    if (!winui::ClaimFirstInstance(Name().c_str()))
        return false;
    SetRegistryKey(L"QELPlayer");
    CPoPupWndDlg dialog;
    SetMainWindow(&dialog);
    dialog.DoModal();
    SetMainWindow(nullptr);
    EndProcessIfLinkInHand(0);  // a link worker still in hand is not waited for
    return false;
}
