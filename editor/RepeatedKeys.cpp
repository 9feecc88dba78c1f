// Key boxes whose key another key box of the shown profile also holds are marked: a
// warning sign beside the box, the box's text in a warning colour unless high contrast
// asks for the system's colours alone, and a screen reader's name that says so. Nothing is refused: the mark only shows
// the repetition. The combination's key is meant to reuse keys and takes no part.
#include "ConfigDlg.h"
#include "KeyTable.h"
#include "resource.h"

#include <vector>

namespace {

constexpr COLORREF kRepeatedKeyColor = 0x0000C0;  // dark red: 5.7:1 on the usual button face

// A warning sign: a triangle with an exclamation mark cut out in the background colour.
void DrawWarningSign(HDC dc, const RECT& cell, COLORREF ink, COLORREF background)
{
    const int width = cell.right - cell.left;
    const int top = (cell.top + cell.bottom - width) / 2;
    const POINT corners[] = {{cell.left, top + width}, {cell.left + width / 2, top}, {cell.right, top + width}};
    HBRUSH brush = ::CreateSolidBrush(ink);
    HPEN pen = ::CreatePen(PS_SOLID, 1, ink);
    HGDIOBJ brushBefore = ::SelectObject(dc, brush);
    HGDIOBJ penBefore = ::SelectObject(dc, pen);
    ::Polygon(dc, corners, 3);
    ::SelectObject(dc, penBefore);
    ::SelectObject(dc, brushBefore);
    ::DeleteObject(pen);
    ::DeleteObject(brush);

    const int middle = cell.left + width / 2;
    const int stroke = width / 7 + 1;
    const RECT bar = {middle - stroke / 2, top + width * 2 / 5, middle - stroke / 2 + stroke, top + width * 3 / 4};
    const RECT dot = {bar.left, top + width * 4 / 5, bar.right, top + width * 4 / 5 + stroke};
    HBRUSH cut = ::CreateSolidBrush(background);
    ::FillRect(dc, &bar, cut);
    ::FillRect(dc, &dot, cut);
    ::DeleteObject(cut);
}

}  // namespace

void CConfigDlg::MarkRepeatedKeys()
{
    uint8_t codes[kKeyBoxCount];
    for (int box = 0; box < kKeyBoxCount; ++box) codes[box] = KeyBoxCode(IDC_KEY_FIRST + box);
    unsigned repeated = 0;
    for (int box = 0; box < kKeyBoxCount; ++box)
        for (int other = 0; other < kKeyBoxCount; ++other)
            if (other != box && codes[box] != 0 && codes[box] == codes[other]) repeated |= 1u << box;
    // Only the boxes whose mark changed are drawn again.
    const unsigned changed = repeated ^ m_repeatedKeyBoxes;
    m_repeatedKeyBoxes = repeated;
    for (int box = 0; box < kKeyBoxCount; ++box) {
        if (!(changed & (1u << box))) continue;
        GetDlgItem(IDC_KEY_FIRST + box)->InvalidateRect(nullptr, TRUE);
        NameRepeatedKeyBox(box, repeated & (1u << box));
        const RECT sign = RepeatedKeyMarkRect(box);
        InvalidateRect(&sign, TRUE);
    }
}

// A key box is named by the hidden label just before it in the template.
void CConfigDlg::ReadKeyBoxNames()
{
    for (int box = 0; box < kKeyBoxCount; ++box) {
        HWND label = ::GetWindow(GetDlgItem(IDC_KEY_FIRST + box)->m_hWnd, GW_HWNDPREV);
        std::vector<wchar_t> name(static_cast<size_t>(::GetWindowTextLengthW(label)) + 1);
        ::GetWindowTextW(label, name.data(), static_cast<int>(name.size()));
        m_keyBoxNames[box] = name.data();
    }
}

// The label says that the key is used twice; a screen reader asks for the name anew when
// told that it changed.
void CConfigDlg::NameRepeatedKeyBox(int box, bool repeated)
{
    HWND keyBox = GetDlgItem(IDC_KEY_FIRST + box)->m_hWnd;
    const std::wstring& name = m_keyBoxNames[box];
    ::SetWindowTextW(::GetWindow(keyBox, GW_HWNDPREV),
                     (repeated ? AfxFormatString(IDS_REPEATED_KEY_BOX, {name}) : name).c_str());
    ::NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, keyBox, OBJID_CLIENT, CHILDID_SELF);
}

// The sign's place: right of the box, two thirds of its height wide, in the gap before the
// next picture or the group's frame.
RECT CConfigDlg::RepeatedKeyMarkRect(int box)
{
    RECT rect;
    ::GetWindowRect(GetDlgItem(IDC_KEY_FIRST + box)->m_hWnd, &rect);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    const int width = (rect.bottom - rect.top) * 2 / 3;
    const int gap = width / 6 + 1;
    return {rect.right + gap, rect.top, rect.right + gap + width, rect.bottom};
}

void CConfigDlg::DrawRepeatedKeyMarks(HDC dc)
{
    const COLORREF ink = HighContrastOn() ? ::GetSysColor(COLOR_BTNTEXT) : kRepeatedKeyColor;
    for (int box = 0; box < kKeyBoxCount; ++box)
        if (m_repeatedKeyBoxes & (1u << box))
            DrawWarningSign(dc, RepeatedKeyMarkRect(box), ink, ::GetSysColor(COLOR_BTNFACE));
}

// The colours the system gives an edit control, with the warning colour for the text of
// a marked key box where high contrast is off.
LRESULT CConfigDlg::OnCtlColorEdit(WPARAM wParam, LPARAM lParam)
{
    const LRESULT brush = Default();
    const int box = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) - IDC_KEY_FIRST;
    if (box >= 0 && box < kKeyBoxCount && (m_repeatedKeyBoxes & (1u << box)) && !HighContrastOn())
        SetTextColor(reinterpret_cast<HDC>(wParam), kRepeatedKeyColor);
    return brush;
}
