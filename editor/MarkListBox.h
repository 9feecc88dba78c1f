// CMarkListBox: the profile list. It draws its rows itself in the system's colours and
// shows each mark of a row as a glyph in a column of its own before the name, so that a
// mark is seen without colour and the name stays the row's text. Marks belong to list
// positions, not to the rows' profiles: adding, inserting or deleting rows leaves every
// mark at its position.
#pragma once

#include <vector>

#include "Afx.h"

// What a row can be marked as; a row carries any of them at once.
enum class RowMark : unsigned {
    kActive = 1u << 0,  // the profile the adapter plays
};

class CMarkListBox : public CListBox {
public:
    // Gives a position a mark, or removes it; the row is drawn again.
    void SetItemMark(int nItem, RowMark mark);
    void RemoveItemMark(int nItem, RowMark mark);
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
    struct ItemMarks {
        int nItem;
        unsigned marks;  // RowMark bits
    };

    unsigned MarksOf(int nItem) const;
    void SetMarksOf(int nItem, unsigned marks);
    void RepaintItem(int nItem);

    void DrawChangedMark(const DRAWITEMSTRUCT& item) const;

    std::vector<ItemMarks> m_aItemMarks;
    std::vector<bool> m_changedRows;
};
