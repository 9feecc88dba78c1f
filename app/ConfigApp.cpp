#include "ConfigApp.h"

#include "ConfigDlg.h"
#include "MessageAnswering.h"
#include "ProgressPort.h"
#include "Win32AdapterLock.h"
#include "Win32AdapterPort.h"
#include "Win32KeyboardLayout.h"

BEGIN_MESSAGE_MAP(CConfigApp, CWinApp)
    ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

CConfigApp::CConfigApp() = default;

CConfigApp theApp;

BOOL CConfigApp::InitInstance()
{
    AfxEnableControlContainer();
    Enable3dControls();
    Win32AdapterPort driver;
    ProgressPort port(driver, [](unsigned) { AnswerPendingMessages(); });
    Win32AdapterLock lock(WaitAnsweringMessages);
    Win32KeyboardLayout layout;
    CConfigDlg dialog(port, lock, layout, nullptr);
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;  // the dialog ends with this function
    return FALSE;
}
