#pragma once
// The agent's application object: one instance per logon, one link per run.
#include "application.h"

class CqelagentApp : public winui::Application {
public:
    bool InitInstance() override;
};
