// Key boxes whose key another key box of the shown profile also holds are drawn in a
// warning colour. Nothing is refused: the mark only shows the repetition. The
// combination's key is meant to reuse keys and takes no part.
#include "ConfigDlg.h"
#include "KeyTable.h"
#include "resource.h"

namespace {

constexpr COLORREF kRepeatedKeyColor = 0x0000C0;  // dark red

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
    for (int box = 0; box < kKeyBoxCount; ++box)
        if (changed & (1u << box)) GetDlgItem(IDC_KEY_FIRST + box)->InvalidateRect(nullptr, TRUE);
}

// The colours the system gives an edit control, with the warning colour for the text of
// a marked key box.
LRESULT CConfigDlg::OnCtlColorEdit(WPARAM wParam, LPARAM lParam)
{
    const LRESULT brush = Default();
    const int box = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) - IDC_KEY_FIRST;
    if (box >= 0 && box < kKeyBoxCount && (m_repeatedKeyBoxes & (1u << box)))
        SetTextColor(reinterpret_cast<HDC>(wParam), kRepeatedKeyColor);
    return brush;
}
