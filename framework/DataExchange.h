// CDataExchange and DDX_Control: binding a dialog's controls to the dialog's members.
#pragma once

#include "Wnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    BOOL m_bSaveAndValidate;  // TRUE: controls to members; FALSE: members to controls
    CWnd* m_pDlgWnd;
};

// Attaches rControl to the dialog's control nIDC, so that its messages reach rControl's
// message map. Binding an already bound control again changes nothing.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
