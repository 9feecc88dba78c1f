// CWinApp: the one application object of the program, and the framework's global
// functions. The program defines one static object of a class derived from CWinApp; the
// entry point calls its InitInstance.
#pragma once

#include <windows.h>

#include "MessageMap.h"

class CWnd;

constexpr UINT ID_HELP = 57670;

class CWinApp : public CCmdTarget {
public:
    // The application has no name of its own; the system's default applies.
    CWinApp();
    ~CWinApp() override;

    CWnd* m_pMainWnd = nullptr;

    virtual BOOL InitInstance();
    // Dialog controls already have their three-dimensional look on this platform.
    BOOL Enable3dControls() { return TRUE; }
    // The standard help command; the program has no help file, so it shows nothing.
    void OnHelp() {}
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
// The module holding a resource: the program's own, as it has no resource libraries.
HINSTANCE AfxFindResourceHandle(const char* pszName, const char* pszType);
// The dialogs host no ActiveX controls, so there is nothing to prepare.
inline void AfxEnableControlContainer() {}
// Initialises the common controls and runs the application object's InitInstance.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR pszCmdLine, int nCmdShow);
