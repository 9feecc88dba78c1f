// CMarkListBox: the profile list. It draws its rows itself and shows chosen rows in a text
// colour of their own. Marks belong to list positions, not to the rows' profiles: adding,
// inserting or deleting rows leaves every mark at its position.
#pragma once

#include <vector>

#include "Afx.h"

class CMarkListBox : public CListBox {
public:
    struct ItemColor {
        int nItem;
        COLORREF crText;
    };

    // Sets or replaces the mark of a position; the row shows it when it is next drawn.
    void SetItemColor(int nItem, COLORREF crText);
    // Removes the mark of a position and has that row repainted.
    void RemoveItemColor(int nItem);
    // The lowest position whose item data equals dwData, or -1.
    int FindItemByData(DWORD dwData);
    // Marks the rows at the positions where `changed` holds true: each is drawn with a dot
    // at its right end, a shape rather than a colour, that never enters the row's text.
    void MarkChangedRows(const std::vector<bool>& changed);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    // Rows keep the height the system gives a fixed-height owner-drawn list.
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;

protected:
    void OnLButtonDown(UINT nFlags, POINT point);
    void OnLButtonUp(UINT nFlags, POINT point);
    DECLARE_MESSAGE_MAP()

private:
    ItemColor* FindMark(int nItem);
    void DrawChangedMark(const DRAWITEMSTRUCT& item) const;

    std::vector<ItemColor> m_aItemColors;
    std::vector<bool> m_changedRows;
};
