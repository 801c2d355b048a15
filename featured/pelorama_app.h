#pragma once
// pelorama's application object: registers the main window's class, keeps one instance per
// logon, points the profile at the registry and runs the main window modally.
#include "application.h"

// The system dialog class registered again under the name the main window's template gives;
// true also when it is registered already.
bool RegisterMainFrameClass(HINSTANCE instance);

class CPoPupWndApp : public winui::Application {
public:
    bool InitInstance() override;
};
