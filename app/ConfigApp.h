// CConfigApp: the application object. Its start-up runs the main window once as a modal
// dialog; the process ends when the window closes.
#pragma once

#include "Afx.h"

class CConfigApp : public CWinApp {
public:
    CConfigApp();
    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};
