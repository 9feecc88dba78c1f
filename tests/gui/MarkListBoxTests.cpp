// The marked list box as drawn on screen: backgrounds, mark colours, marks that stay with
// positions, and the lookup by item data.
#include <gtest/gtest.h>

#include "GuiInput.h"
#include "MarkListBox.h"
#include "ModalScript.h"
#include "resource.h"

namespace {

constexpr COLORREF kBlue = 0xFF0000;
constexpr COLORREF kRed = 0x0000FF;
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
    void Run(ModalScript::Step checks)
    {
        script.Then(std::move(checks)).Then([this] { host.EndDialog(IDOK); });
        script.Run(host);
    }

    ListHost host;
    ModalScript script;
};

TEST_F(MarkListBoxTest, RowsAreFilledWithButtonHighlightOrHighlightAndTextKeepsItsColour)
{
    Run([this] {
        Fill({"Alpha", "Beta", "Gamma"});
        host.list.SetItemColor(1, kBlue);
        host.list.SetItemColor(2, kBlue);
        host.list.SetCurSel(2);
        Repaint();
        EXPECT_EQ(RowBackground(0), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(RowBackground(2), ::GetSysColor(COLOR_HIGHLIGHT));
        EXPECT_GT(PixelsOf(0, kBlack), 0);
        EXPECT_EQ(PixelsOf(0, kBlue), 0);
        EXPECT_GT(PixelsOf(1, kBlue), 0);
        EXPECT_GT(PixelsOf(2, kBlue), 0);  // the mark shows on the selection too
        host.list.SetCurSel(0);
        Repaint();
        EXPECT_EQ(RowBackground(0), ::GetSysColor(COLOR_HIGHLIGHT));
        EXPECT_GT(PixelsOf(0, kBlack), 0);  // not the highlight text colour
    });
}

TEST_F(MarkListBoxTest, SecondColourReplacesTheFirstAndOneRemovalClearsIt)
{
    Run([this] {
        Fill({"Alpha"});
        host.list.SetItemColor(0, kRed);
        host.list.SetItemColor(0, kBlue);
        Repaint();
        EXPECT_GT(PixelsOf(0, kBlue), 0);
        EXPECT_EQ(PixelsOf(0, kRed), 0);
        host.list.RemoveItemColor(0);  // repaints the row by itself
        EXPECT_EQ(PixelsOf(0, kBlue), 0);
        EXPECT_GT(PixelsOf(0, kBlack), 0);
    });
}

TEST_F(MarkListBoxTest, RemoveThenSetOnOneRowRepaintsItInTheNewColour)
{
    Run([this] {
        Fill({"Alpha"});
        host.list.SetItemColor(0, kRed);
        Repaint();
        ASSERT_GT(PixelsOf(0, kRed), 0);
        host.list.RemoveItemColor(0);
        host.list.SetItemColor(0, kBlue);
        EXPECT_GT(PixelsOf(0, kBlue), 0);
        EXPECT_EQ(PixelsOf(0, kRed), 0);
    });
}

TEST_F(MarkListBoxTest, MarksStayWithTheirPositionWhenRowsMove)
{
    Run([this] {
        Fill({"Row 0", "Row 1", "Row 2", "Row 3", "Row 4"});
        host.list.SetItemColor(3, kRed);
        host.list.DeleteString(1);
        Repaint();
        EXPECT_GT(PixelsOf(3, kRed), 0);  // "Row 4" moved up into the marked position
        EXPECT_EQ(PixelsOf(2, kRed), 0);
        // The last row's mark waits for the next row appended there.
        host.list.DeleteString(3);
        host.list.AddString("New");
        Repaint();
        EXPECT_GT(PixelsOf(3, kRed), 0);
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
