#include "MarkListBox.h"

#include <algorithm>
#include <vector>

BEGIN_MESSAGE_MAP(CMarkListBox, CListBox)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

// Clicks behave exactly as in a plain list box.
void CMarkListBox::OnLButtonDown(UINT, POINT) { Default(); }
void CMarkListBox::OnLButtonUp(UINT, POINT) { Default(); }

CMarkListBox::ItemColor* CMarkListBox::FindMark(int nItem)
{
    const auto found = std::find_if(m_aItemColors.begin(), m_aItemColors.end(),
                                    [nItem](const ItemColor& mark) { return mark.nItem == nItem; });
    return found == m_aItemColors.end() ? nullptr : &*found;
}

void CMarkListBox::SetItemColor(int nItem, COLORREF crText)
{
    if (ItemColor* mark = FindMark(nItem)) {
        mark->crText = crText;
        return;
    }
    m_aItemColors.push_back({nItem, crText});
}

void CMarkListBox::RemoveItemColor(int nItem)
{
    ItemColor* mark = FindMark(nItem);
    if (!mark) return;
    m_aItemColors.erase(m_aItemColors.begin() + (mark - m_aItemColors.data()));
    RECT row;
    if (GetItemRect(nItem, &row) != LB_ERR) InvalidateRect(&row, TRUE);
}

int CMarkListBox::FindItemByData(DWORD dwData)
{
    for (int pos = 0; pos < GetCount(); ++pos) {
        if (static_cast<DWORD>(GetItemData(pos)) == dwData) return pos;
    }
    return -1;
}

void CMarkListBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    const int item = static_cast<int>(lpDrawItemStruct->itemID);
    // An empty list with the focus gets its focus rectangle drawn and taken away again.
    if (item == -1) {
        if (lpDrawItemStruct->itemAction & ODA_FOCUS) ::DrawFocusRect(lpDrawItemStruct->hDC, &lpDrawItemStruct->rcItem);
        return;
    }
    HDC dc = lpDrawItemStruct->hDC;
    std::vector<char> text(static_cast<size_t>(std::max(GetTextLen(item), 0)) + 1);
    GetText(item, text.data());

    COLORREF replaced = CLR_INVALID;
    ItemColor* mark = FindMark(item);
    if (mark) replaced = ::SetTextColor(dc, mark->crText);

    const int background = (lpDrawItemStruct->itemState & ODS_SELECTED) ? COLOR_HIGHLIGHT : COLOR_BTNHIGHLIGHT;
    ::FillRect(dc, &lpDrawItemStruct->rcItem, ::GetSysColorBrush(background));
    ::SetBkColor(dc, ::GetSysColor(background));
    ::DrawTextA(dc, text.data(), -1, &lpDrawItemStruct->rcItem, 0);

    if (mark && replaced != CLR_INVALID) ::SetTextColor(dc, replaced);
    // The row is drawn whole each time, so the focus shows by drawing it over the row.
    const UINT state = lpDrawItemStruct->itemState;
    if ((state & ODS_FOCUS) && !(state & ODS_NOFOCUSRECT)) ::DrawFocusRect(dc, &lpDrawItemStruct->rcItem);
}

void CMarkListBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
