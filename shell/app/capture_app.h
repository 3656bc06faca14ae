// The application object: one running Varno, and its main window shown minimized.
#pragma once

#include "application.h"

class CCaptureApp : public CApplication {
public:
    BOOL InitInstance() override;
    bool OnCommand(UINT id) override;

    void OnAppAbout();
};
