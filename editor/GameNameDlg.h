// CGameNameDlg: asks for a game (profile) name. The name travels in the caller's
// zero-filled 16-byte buffer; at most 14 characters come back.
#pragma once

#include "Afx.h"

class CGameNameDlg : public CDialog {
public:
    explicit CGameNameDlg(CWnd* pParent = nullptr);

    // Shows the buffer's name for editing; TRUE only when the user confirmed with OK, and
    // only then is the buffer changed.
    BOOL InputName(char* pszName);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

    char* m_pszName = nullptr;
};
