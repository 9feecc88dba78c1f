// CListBox: a list box control. An owner-drawn list gets its rows drawn and measured by
// DrawItem and MeasureItem, which its parent's WM_DRAWITEM and WM_MEASUREITEM reach.
#pragma once

#include "Wnd.h"

class CListBox : public CWnd {
public:
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    int GetText(int nIndex, char* pszBuffer) const;
    int GetTextLen(int nIndex) const;
    int AddString(const char* pszItem);
    int InsertString(int nIndex, const char* pszItem);
    int DeleteString(UINT nIndex);
    DWORD_PTR GetItemData(int nIndex) const;
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    int GetItemRect(int nIndex, RECT* pRect) const;

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
};
