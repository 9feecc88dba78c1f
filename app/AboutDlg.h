// CAboutDlg: the About box opened from the main window's system menu.
#pragma once

#include "Afx.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    DECLARE_MESSAGE_MAP()
};
