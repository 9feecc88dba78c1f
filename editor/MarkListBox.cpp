#include "MarkListBox.h"

#include <algorithm>
#include <vector>

#include "Contrast.h"

namespace {

// Draws a mark's glyph in `cell`, a square as high as the row, in the row's text colour.
using GlyphDrawer = void (*)(HDC dc, const RECT& cell, COLORREF colour);

// The active profile: a filled disc, as a chosen radio button shows it.
void DrawActiveGlyph(HDC dc, const RECT& cell, COLORREF colour)
{
    const int size = cell.bottom - cell.top;
    const int inset = size * 3 / 10;
    HBRUSH brush = ::CreateSolidBrush(colour);
    HPEN pen = ::CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ brushBefore = ::SelectObject(dc, brush);
    HGDIOBJ penBefore = ::SelectObject(dc, pen);
    ::Ellipse(dc, cell.left + inset, cell.top + inset, cell.right - inset, cell.bottom - inset);
    ::SelectObject(dc, penBefore);
    ::SelectObject(dc, brushBefore);
    ::DeleteObject(pen);
    ::DeleteObject(brush);
}

struct MarkGlyph {
    RowMark mark;
    GlyphDrawer draw;
};
// One column per kind of mark, left to right; every row keeps the columns, so that the
// names stand aligned.
constexpr MarkGlyph kMarkGlyphs[] = {{RowMark::kActive, DrawActiveGlyph}};

constexpr unsigned Bit(RowMark mark) { return static_cast<unsigned>(mark); }

}  // namespace

BEGIN_MESSAGE_MAP(CMarkListBox, CListBox)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

// Clicks behave exactly as in a plain list box.
void CMarkListBox::OnLButtonDown(UINT, POINT) { Default(); }
void CMarkListBox::OnLButtonUp(UINT, POINT) { Default(); }

unsigned CMarkListBox::MarksOf(int nItem) const
{
    for (const ItemMarks& entry : m_aItemMarks)
        if (entry.nItem == nItem) return entry.marks;
    return 0;
}

void CMarkListBox::SetMarksOf(int nItem, unsigned marks)
{
    const auto found = std::find_if(m_aItemMarks.begin(), m_aItemMarks.end(),
                                    [nItem](const ItemMarks& entry) { return entry.nItem == nItem; });
    if (found == m_aItemMarks.end()) {
        if (marks) m_aItemMarks.push_back({nItem, marks});
    } else if (marks) {
        found->marks = marks;
    } else {
        m_aItemMarks.erase(found);
    }
    RepaintItem(nItem);
}

void CMarkListBox::SetItemMark(int nItem, RowMark mark) { SetMarksOf(nItem, MarksOf(nItem) | Bit(mark)); }

void CMarkListBox::RemoveItemMark(int nItem, RowMark mark) { SetMarksOf(nItem, MarksOf(nItem) & ~Bit(mark)); }

void CMarkListBox::RepaintItem(int nItem)
{
    RECT row;
    if (m_hWnd && GetItemRect(nItem, &row) != LB_ERR) InvalidateRect(&row, TRUE);
}

int CMarkListBox::FindItemByData(DWORD dwData)
{
    for (int pos = 0; pos < GetCount(); ++pos) {
        if (static_cast<DWORD>(GetItemData(pos)) == dwData) return pos;
    }
    return -1;
}

// Selected rows take the system's highlight colours, the others the window's. The text
// takes the system's own text colour for its background where that reads at 4.5:1, as
// high contrast makes sure; where it does not (white on Wine's light blue highlight reads
// at 3:1), the system colour of the others that reads.
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

    const bool selected = lpDrawItemStruct->itemState & ODS_SELECTED;
    const COLORREF background = ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    const COLORREF foreground = ReadableSystemColour(
        background, {selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT, COLOR_WINDOWTEXT, COLOR_WINDOW});
    RECT row = lpDrawItemStruct->rcItem;
    ::FillRect(dc, &row, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));

    const int cellSize = row.bottom - row.top;
    const unsigned marks = MarksOf(item);
    RECT cell = {row.left, row.top, row.left + cellSize, row.bottom};
    for (const MarkGlyph& glyph : kMarkGlyphs) {
        if (marks & Bit(glyph.mark)) glyph.draw(dc, cell, foreground);
        ::OffsetRect(&cell, cellSize, 0);
    }

    RECT name = row;
    name.left = cell.left;
    const COLORREF textBefore = ::SetTextColor(dc, foreground);
    const COLORREF backBefore = ::SetBkColor(dc, background);
    ::DrawTextA(dc, text.data(), -1, &name, 0);
    DrawChangedMark(*lpDrawItemStruct);
    ::SetBkColor(dc, backBefore);
    ::SetTextColor(dc, textBefore);
    // The row is drawn whole each time, so the focus shows by drawing it over the row.
    const UINT state = lpDrawItemStruct->itemState;
    if ((state & ODS_FOCUS) && !(state & ODS_NOFOCUSRECT)) ::DrawFocusRect(dc, &row);
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
