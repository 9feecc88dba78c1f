#include "ConfigApp.h"

#include "AdapterChoice.h"
#include "ConfigDlg.h"

BEGIN_MESSAGE_MAP(CConfigApp, CWinApp)
    ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

CConfigApp::CConfigApp() = default;

CConfigApp theApp;

BOOL CConfigApp::InitInstance()
{
    AfxEnableControlContainer();
    Enable3dControls();
    CConfigDlg dialog(ApplicationAdapterPort(), nullptr);
    m_pMainWnd = &dialog;
    dialog.DoModal();
    return FALSE;
}
