// CGameNameDlg: asks for a game (profile) name. The name travels in the caller's
// zero-filled 16-byte buffer as bytes of the code page that names are written in; at most
// 14 bytes come back. The box takes no character that would not fit whole in them, so
// what the user sees is what is stored.
#pragma once

#include <string>

#include "Afx.h"
#include "NameText.h"

class CGameNameDlg : public CDialog {
public:
    // `codePage` is the one names are written in: the system's ANSI code page.
    explicit CGameNameDlg(CWnd* pParent = nullptr, const CodePage& codePage = {::GetACP()});

    // Shows the buffer's name for editing; TRUE only when the user confirmed with OK, and
    // only then is the buffer changed.
    BOOL InputName(char* pszName);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnNameEdited();

    char* m_pszName = nullptr;
    CodePage m_codePage;
    std::wstring m_shownName;  // the box's text as last taken

    DECLARE_MESSAGE_MAP()
};
