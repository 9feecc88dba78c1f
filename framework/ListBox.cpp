#include "ListBox.h"

LRESULT CListBox::Send(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

int CListBox::GetCount() const { return static_cast<int>(Send(LB_GETCOUNT)); }
int CListBox::GetCurSel() const { return static_cast<int>(Send(LB_GETCURSEL)); }
int CListBox::SetCurSel(int nSelect) { return static_cast<int>(Send(LB_SETCURSEL, nSelect)); }

int CListBox::GetText(int nIndex, char* pszBuffer) const
{
    return static_cast<int>(Send(LB_GETTEXT, nIndex, reinterpret_cast<LPARAM>(pszBuffer)));
}

int CListBox::GetTextLen(int nIndex) const { return static_cast<int>(Send(LB_GETTEXTLEN, nIndex)); }

int CListBox::AddString(const char* pszItem)
{
    return static_cast<int>(Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszItem)));
}

int CListBox::InsertString(int nIndex, const char* pszItem)
{
    return static_cast<int>(Send(LB_INSERTSTRING, nIndex, reinterpret_cast<LPARAM>(pszItem)));
}

int CListBox::DeleteString(UINT nIndex) { return static_cast<int>(Send(LB_DELETESTRING, nIndex)); }
DWORD_PTR CListBox::GetItemData(int nIndex) const { return static_cast<DWORD_PTR>(Send(LB_GETITEMDATA, nIndex)); }

int CListBox::SetItemData(int nIndex, DWORD_PTR dwItemData)
{
    return static_cast<int>(Send(LB_SETITEMDATA, nIndex, static_cast<LPARAM>(dwItemData)));
}

int CListBox::GetItemRect(int nIndex, RECT* pRect) const
{
    return static_cast<int>(Send(LB_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(pRect)));
}

void CListBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CListBox::MeasureItem(LPMEASUREITEMSTRUCT) {}

BOOL CListBox::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
    case WM_DRAWITEM:
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        break;
    case WM_MEASUREITEM:
        MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        break;
    default:
        return FALSE;
    }
    *pResult = TRUE;
    return TRUE;
}
