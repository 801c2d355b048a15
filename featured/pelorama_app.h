#pragma once
// pelorama's application object: registers the main window's class, keeps one instance per
// logon, points the profile at the registry and runs the main window modally.
#include "application.h"

// The system dialog class registered again under the name the main window's template gives;
// true also when it is registered already.
bool RegisterMainFrameClass(HINSTANCE instance);

class CPoPupWndApp : public winui::Application {
public:
    CPoPupWndApp() = default;  // the title comes from string resource 57344
    bool InitInstance() override;
    // ID_HELP goes to the help handler.
    bool OnCommand(UINT id) override;

protected:
    // An application of another name (the in-process tests').
    explicit CPoPupWndApp(const wchar_t* name) : Application(name) {}
};
