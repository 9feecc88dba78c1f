#include "GameNameDlg.h"

#include <algorithm>
#include <cstring>

#include "ConfigImage.h"
#include "resource.h"

namespace {

constexpr int kNameBufferSize = 16;
constexpr size_t kNameLimit = kNameBytes - 1;  // the 15th byte is the NUL

std::wstring WindowText(HWND window)
{
    std::wstring text(::GetWindowTextLengthW(window) + 1, L'\0');
    text.resize(::GetWindowTextW(window, text.data(), int(text.size())));
    return text;
}

// The part of `edited` that an edit of `before` put in: it ends at the caret, and what
// follows the caret was there before.
void FindInserted(const std::wstring& before, const std::wstring& edited, size_t caret, size_t& start, size_t& end)
{
    end = std::min(caret, edited.size());
    const size_t kept = std::min(edited.size() - end, before.size());
    start = 0;
    while (start < end && start < before.size() - kept && before[start] == edited[start]) ++start;
    if (start > 0 && IS_HIGH_SURROGATE(edited[start - 1])) --start;  // a pair stays whole
}

}  // namespace

BEGIN_MESSAGE_MAP(CGameNameDlg, CDialog)
    ON_CONTROL(EN_CHANGE, IDC_GAME_NAME, &CGameNameDlg::OnNameEdited)
END_MESSAGE_MAP()

CGameNameDlg::CGameNameDlg(CWnd* pParent, const CodePage& codePage)
    : CDialog(IDD_GAME_NAME, pParent), m_codePage(codePage)
{
}

BOOL CGameNameDlg::InputName(char* pszName)
{
    m_pszName = pszName;
    return DoModal() == IDOK;
}

// A name of 15 bytes (the adapter's field without its NUL) shows cut to what fits.
BOOL CGameNameDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const std::string bytes(m_pszName, ::strnlen(m_pszName, kNameBufferSize));
    m_shownName = StartThatFits(AfxWideFromCodePage(bytes, m_codePage.number), kNameLimit, m_codePage);
    ::SetDlgItemTextW(m_hWnd, IDC_GAME_NAME, m_shownName.c_str());
    return TRUE;
}

// Of what an edit put in (typed, pasted, composed), the box keeps the longest start of
// whole characters that the code page has and that fits beside the rest of the name.
void CGameNameDlg::OnNameEdited()
{
    const HWND box = ::GetDlgItem(m_hWnd, IDC_GAME_NAME);
    const std::wstring edited = WindowText(box);
    DWORD caret = 0;
    ::SendMessageW(box, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    size_t start = 0, end = 0;
    FindInserted(m_shownName, edited, caret, start, end);
    const std::wstring rest = edited.substr(0, start) + edited.substr(end);
    const size_t room = kNameLimit - std::min(kNameLimit, BytesInCodePage(rest, m_codePage).size());
    std::wstring inserted = StartThatFits(edited.substr(start, end - start), room, m_codePage);
    while (!inserted.empty() && !IsTextOfNameCodePage(inserted, m_codePage)) inserted.pop_back();
    m_shownName = edited.substr(0, start) + inserted + edited.substr(end);
    if (m_shownName == edited) return;
    ::SetWindowTextW(box, m_shownName.c_str());  // its change notice finds nothing more to cut
    const LPARAM afterInserted = LPARAM(start + inserted.size());
    ::SendMessageW(box, EM_SETSEL, afterInserted, afterInserted);
}

void CGameNameDlg::OnOK()
{
    const std::string bytes = BytesInCodePage(m_shownName, m_codePage);
    std::memset(m_pszName, 0, kNameBufferSize);
    std::memcpy(m_pszName, bytes.data(), std::min(bytes.size(), kNameLimit));
    CDialog::OnOK();
}
