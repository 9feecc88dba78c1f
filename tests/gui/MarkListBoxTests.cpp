// The marked list box as drawn on screen: colours, the contrast of the names, marks as
// shapes that stay with positions, and the lookup by item data.
#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "GuiInput.h"
#include "MarkListBox.h"
#include "ModalScript.h"
#include "resource.h"

namespace {

constexpr COLORREF kBlack = 0x000000;

// The main window's template with nothing but its profile list bound.
class ListHost : public CDialog {
public:
    ListHost() : CDialog(IDD_CONFIG_DIALOG) {}
    CMarkListBox list;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_PROFILE_LIST, list); }
};

bool Matches(COLORREF pixel, COLORREF colour)
{
    if (colour != kBlack) return pixel == colour;
    return GetRValue(pixel) < 0x70 && GetGValue(pixel) < 0x70 && GetBValue(pixel) < 0x70;
}

class MarkListBoxTest : public ::testing::Test {
protected:
    void Fill(std::initializer_list<const char*> rows)
    {
        int data = 0;
        for (const char* row : rows) host.list.SetItemData(host.list.AddString(row), data++);
    }
    RECT Row(int row)
    {
        RECT rect = {};
        host.list.GetItemRect(row, &rect);
        return rect;
    }
    // How many pixels of a row have the colour, as the row is drawn on screen now. Text
    // may be smoothed, so black counts every dark pixel.
    int PixelsOf(int row, COLORREF colour)
    {
        const RECT rect = Row(row);
        ::UpdateWindow(host.list.m_hWnd);
        HDC dc = ::GetDC(host.list.m_hWnd);
        int count = 0;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x) count += Matches(::GetPixel(dc, x, y), colour);
        ::ReleaseDC(host.list.m_hWnd, dc);
        return count;
    }
    COLORREF RowBackground(int row)
    {
        const RECT rect = Row(row);
        return PixelAt(host.list.m_hWnd, {rect.right - 2, rect.bottom - 1});
    }
    void Repaint() { ::InvalidateRect(host.list.m_hWnd, nullptr, TRUE); }
    int RowHeight() { return Row(0).bottom - Row(0).top; }
    // A row as drawn on screen now, colour taken away: whether each pixel differs from the
    // row's background, the marks' square first, then the rest column by column.
    std::vector<bool> Shape(int row)
    {
        const RECT rect = Row(row);
        const COLORREF background = RowBackground(row);  // paints what is due first
        HDC dc = ::GetDC(host.list.m_hWnd);
        std::vector<bool> shape;
        for (int x = rect.left; x < rect.right; ++x)
            for (int y = rect.top; y < rect.bottom; ++y) shape.push_back(::GetPixel(dc, x, y) != background);
        ::ReleaseDC(host.list.m_hWnd, dc);
        return shape;
    }
    bool MarkShown(int row)
    {
        const std::vector<bool> shape = Shape(row);
        const auto squareEnd = shape.begin() + RowHeight() * RowHeight();
        return std::find(shape.begin(), squareEnd, true) != squareEnd;
    }
    void Run(ModalScript::Step checks)
    {
        script.Then(std::move(checks)).Then([this] { host.EndDialog(IDOK); });
        script.Run(host);
    }

    ListHost host;
    ModalScript script;
};

// Every row, selected or not, marked or not, is drawn in the system's pair of colours for
// it, which reads at 4.5:1 at least (the selected active row read 1.3:1 in red on the
// highlight).
TEST_F(MarkListBoxTest, RowsTakeTheWindowOrHighlightColoursAndReadAtFourAndAHalfToOne)
{
    Run([this] {
        Fill({"Alpha", "Beta", "Gamma"});
        host.list.SetItemMark(1, RowMark::kActive);
        host.list.SetItemMark(2, RowMark::kActive);
        host.list.SetCurSel(2);
        Repaint();
        EXPECT_EQ(RowBackground(0), ::GetSysColor(COLOR_WINDOW));
        EXPECT_EQ(RowBackground(1), ::GetSysColor(COLOR_WINDOW));
        EXPECT_EQ(RowBackground(2), ::GetSysColor(COLOR_HIGHLIGHT));
        for (int row = 0; row < 3; ++row) EXPECT_GE(RowTextContrast(host.list.m_hWnd, row), 4.5) << row;
    });
}

// Colour taken away, a marked row still differs from a plain row of the same name, and
// only in its mark: the name stays where it is.
TEST_F(MarkListBoxTest, ActiveMarkShowsAsAShapeBesideTheUnchangedName)
{
    Run([this] {
        Fill({"Same", "Same"});
        host.list.SetItemMark(0, RowMark::kActive);
        for (int selected : {-1, 0}) {
            host.list.SetCurSel(selected);
            host.list.SetItemMark(1, RowMark::kActive);
            host.list.RemoveItemMark(1, RowMark::kActive);
            Repaint();
            const std::vector<bool> marked = Shape(0), plain = Shape(1);
            EXPECT_NE(marked, plain) << "selected " << selected;
            const auto markSquare = static_cast<std::ptrdiff_t>(RowHeight()) * RowHeight();
            EXPECT_EQ(std::vector<bool>(marked.begin() + markSquare, marked.end()),
                      std::vector<bool>(plain.begin() + markSquare, plain.end()));
        }
    });
}

TEST_F(MarkListBoxTest, MarkSetTwiceGoesWithOneRemoval)
{
    Run([this] {
        Fill({"Alpha"});
        host.list.SetItemMark(0, RowMark::kActive);
        host.list.SetItemMark(0, RowMark::kActive);  // repaints the row by itself
        EXPECT_TRUE(MarkShown(0));
        host.list.RemoveItemMark(0, RowMark::kActive);
        EXPECT_FALSE(MarkShown(0));
        host.list.RemoveItemMark(0, RowMark::kActive);  // a row without the mark stays so
        EXPECT_FALSE(MarkShown(0));
    });
}

TEST_F(MarkListBoxTest, RemoveThenSetOnOneRowRepaintsItMarked)
{
    Run([this] {
        Fill({"Alpha"});
        host.list.SetItemMark(0, RowMark::kActive);
        Repaint();
        ASSERT_TRUE(MarkShown(0));
        host.list.RemoveItemMark(0, RowMark::kActive);
        host.list.SetItemMark(0, RowMark::kActive);
        EXPECT_TRUE(MarkShown(0));
    });
}

TEST_F(MarkListBoxTest, MarksStayWithTheirPositionWhenRowsMove)
{
    Run([this] {
        Fill({"Row 0", "Row 1", "Row 2", "Row 3", "Row 4"});
        host.list.SetItemMark(3, RowMark::kActive);
        host.list.DeleteString(1);
        EXPECT_TRUE(RowShowsMark(host.list.m_hWnd, 3));  // "Row 4" moved up into the marked position
        EXPECT_FALSE(RowShowsMark(host.list.m_hWnd, 2));
        // The last row's mark waits for the next row appended there.
        host.list.DeleteString(3);
        host.list.AddString("New");
        EXPECT_TRUE(RowShowsMark(host.list.m_hWnd, 3));
    });
}

TEST_F(MarkListBoxTest, FindItemByDataGivesTheLowestPositionOrMinusOne)
{
    Run([this] {
        EXPECT_EQ(host.list.FindItemByData(0), -1);
        Fill({"a", "b", "c"});
        host.list.SetItemData(2, 1);
        EXPECT_EQ(host.list.FindItemByData(1), 1);
        EXPECT_EQ(host.list.FindItemByData(7), -1);
    });
}

TEST_F(MarkListBoxTest, AmpersandUnderlinesTheNextCharacter)
{
    Run([this] {
        Fill({"AB", "A&B", "A&&B"});
        Repaint();
        const int plain = PixelsOf(0, kBlack);
        const int underlined = PixelsOf(1, kBlack);
        EXPECT_GT(underlined, plain);
        EXPECT_GT(PixelsOf(2, kBlack), underlined);  // "&&" shows an ampersand
    });
}

TEST_F(MarkListBoxTest, DrawRequestForNoRowDrawsNothing)
{
    Run([this] {
        HDC screen = ::GetDC(nullptr);
        HDC dc = ::CreateCompatibleDC(screen);
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 8, 8);
        ::ReleaseDC(nullptr, screen);
        HGDIOBJ previous = ::SelectObject(dc, bitmap);
        RECT all = {0, 0, 8, 8};
        HBRUSH green = ::CreateSolidBrush(0x00FF00);
        ::FillRect(dc, &all, green);
        DRAWITEMSTRUCT request = {};
        request.CtlType = ODT_LISTBOX;
        request.itemID = static_cast<UINT>(-1);
        request.itemState = ODS_FOCUS;
        request.hDC = dc;
        request.rcItem = all;
        host.list.DrawItem(&request);
        EXPECT_EQ(::GetPixel(dc, 4, 4), 0x00FF00u);
        ::SelectObject(dc, previous);
        ::DeleteObject(green);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
    });
}

}  // namespace
