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
    if (item == -1) return;
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
    DrawChangedMark(*lpDrawItemStruct);

    if (mark && replaced != CLR_INVALID) ::SetTextColor(dc, replaced);
}

void CMarkListBox::MeasureItem(LPMEASUREITEMSTRUCT) {}

void CMarkListBox::MarkChangedRows(const std::vector<bool>& changed)
{
    if (changed == m_changedRows) return;
    m_changedRows = changed;
    InvalidateRect(nullptr, TRUE);
}

// A dot a third of the row high, in the row's text colour, on a patch of the row's
// background that keeps a long name from running under it.
void CMarkListBox::DrawChangedMark(const DRAWITEMSTRUCT& item) const
{
    if (item.itemID >= m_changedRows.size() || !m_changedRows[item.itemID]) return;
    HDC dc = item.hDC;
    const RECT& row = item.rcItem;
    const int size = std::max<int>((row.bottom - row.top) / 3, 3);
    const RECT patch = {row.right - 3 * size, row.top, row.right, row.bottom};
    const HGDIOBJ brush = ::SelectObject(dc, ::GetStockObject(DC_BRUSH));
    const HGDIOBJ pen = ::SelectObject(dc, ::GetStockObject(DC_PEN));
    ::SetDCBrushColor(dc, ::GetBkColor(dc));
    ::FillRect(dc, &patch, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    ::SetDCBrushColor(dc, ::GetTextColor(dc));
    ::SetDCPenColor(dc, ::GetTextColor(dc));
    const int left = row.right - 2 * size;
    const int top = (row.top + row.bottom - size) / 2;
    ::Ellipse(dc, left, top, left + size, top + size);
    ::SelectObject(dc, pen);
    ::SelectObject(dc, brush);
}
