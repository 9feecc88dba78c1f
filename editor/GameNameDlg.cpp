#include "GameNameDlg.h"

#include <cstring>

#include "resource.h"

namespace {

constexpr int kNameBufferSize = 16;
constexpr int kTypedNameLimit = 15;
constexpr int kTakenNameCapacity = 15;  // the first 14 characters and the NUL

}  // namespace

CGameNameDlg::CGameNameDlg(CWnd* pParent) : CDialog(IDD_GAME_NAME, pParent) {}

BOOL CGameNameDlg::InputName(char* pszName)
{
    m_pszName = pszName;
    return DoModal() == IDOK;
}

BOOL CGameNameDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SendDlgItemMessage(IDC_GAME_NAME, EM_LIMITTEXT, kTypedNameLimit, 0);
    if (m_pszName[0] != 0) SetDlgItemText(IDC_GAME_NAME, m_pszName);
    return TRUE;
}

void CGameNameDlg::OnOK()
{
    std::memset(m_pszName, 0, kNameBufferSize);
    GetDlgItemText(IDC_GAME_NAME, m_pszName, kTakenNameCapacity);
    CDialog::OnOK();
}
