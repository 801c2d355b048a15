#include "qelagent_app.h"

#include "qelagent_dlg.h"
#include "single_instance.h"

bool CqelagentApp::OnCommand(UINT id)
{
    switch (id) {
    case winui::ID_HELP:
        OnHelp();
        return true;
    }
    return false;
}

bool CqelagentApp::InitInstance()
{
    // A second agent brings the first one's window forward; its own link is dropped.
    if (!winui::ClaimFirstInstance(Name().c_str()))
        return false;
    CqelagentDlg dialog(Name());
    if (!dialog.ParseVudavCommandLine(CommandLine()))
        return false;
    SetMainWindow(&dialog);
    dialog.DoModal();
    SetMainWindow(nullptr);
    return false;
}
