#pragma once
// The agent's application object: one instance per logon, one link per run.
#include "application.h"

class CqelagentApp : public winui::Application {
public:
    CqelagentApp() = default;  // named after the program file
    bool InitInstance() override;
    // ID_HELP goes to the help handler.
    bool OnCommand(UINT id) override;

protected:
    // An application of another name (the in-process tests').
    explicit CqelagentApp(const wchar_t* name) : Application(name) {}
};
