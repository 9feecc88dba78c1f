// The main window at the display's scale: pictures drawn for the DPI the window is shown at,
// list rows as high as the list's font, and a move to a screen of another scale.
#include <iterator>
#include <utility>

#include "ConfigDlg.h"
#include "resource.h"

namespace {

// Pictures of pad buttons 0 to 7, the columns of the button matrix.
constexpr UINT kPadButtonBitmaps[kPadButtonCount] = {IDB_L1, IDB_A, IDB_B, IDB_X, IDB_Y, IDB_BLACK, IDB_WHITE, IDB_R1};
constexpr int kMatrixRowFirst[] = {IDC_COMBO_FIRST, IDC_RIGHT_FIRST, IDC_LEFT_FIRST, IDC_MIDDLE_FIRST};
// The pictures of the window's picture controls in template order: those beside the key
// boxes (they have no ID of their own), then the adapter's and the logo.
constexpr UINT kPictureControls[] = {
    IDB_A, IDB_B, IDB_X, IDB_Y, IDB_L1, IDB_R1, IDB_TRIANGLE_RIGHT, IDB_TRIANGLE_LEFT,
    IDB_WHITE, IDB_BLACK, IDB_ROUND, IDB_RINGED_ROUND, IDB_DPAD_UP, IDB_DPAD_RIGHT,
    IDB_DPAD_DOWN, IDB_DPAD_LEFT, IDB_STICK_LEFT, IDB_STICK_RIGHT, IDB_STICK_UP, IDB_STICK_DOWN,
    IDB_USB, IDB_LOGO};

bool IsPictureControl(HWND hWnd)
{
    char className[16] = {};
    ::GetClassNameA(hWnd, className, sizeof className);
    return ::lstrcmpiA(className, "Static") == 0 && (::GetWindowLongA(hWnd, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP;
}

}  // namespace

// Every picture of the window drawn for `dpi`. A picture control takes the size of its
// picture and keeps its top left corner, so the pictures keep their place in the layout.
void CConfigDlg::ShowPicturesAt(UINT dpi)
{
    CScaledPictures pictures(dpi);
    for (int column = 0; column < kPadButtonCount; ++column) {
        HBITMAP picture = pictures.Load(kPadButtonBitmaps[column]);
        for (int first : kMatrixRowFirst)
            SendDlgItemMessage(first + column, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
    }
    const UINT* next = std::begin(kPictureControls);
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child && next != std::end(kPictureControls);
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!IsPictureControl(child)) continue;
        HBITMAP picture = pictures.Load(*next++);
        auto shown = reinterpret_cast<HGDIOBJ>(
            ::SendMessageA(child, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture)));
        // The pictures the dialog manager loaded from the template are ours to delete once
        // they are replaced; the ones shown before are deleted with their set.
        if (shown && !m_pictures.Holds(shown)) ::DeleteObject(shown);
    }
    m_pictures = std::move(pictures);
}

// The list's rows start as high as the system makes them for the DPI the window opens at,
// which fits one line of the font; they grow and shrink with the font from then on.
void CConfigDlg::ScaleListRows(UINT fromDpi, UINT toDpi)
{
    const LRESULT height = m_listProfiles.SendMessage(LB_GETITEMHEIGHT, 0, 0);
    if (height > 0) m_listProfiles.SendMessage(LB_SETITEMHEIGHT, 0, MulDiv(static_cast<int>(height), toDpi, fromDpi));
}

// Sent only where the window follows its monitor's scale, per monitor v2, under which the
// dialog manager scales the controls and their font; the window takes the rectangle the
// system suggests for the new screen and draws its pictures and rows for it, so that no
// frame shows the old scale stretched.
LRESULT CConfigDlg::OnDpiChanged(WPARAM wParam, LPARAM lParam)
{
    Default();
    const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
    ::SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    const UINT dpi = HIWORD(wParam);
    ScaleListRows(m_pictures.Dpi(), dpi);
    ShowPicturesAt(dpi);
    m_listProfiles.InvalidateRect(nullptr);
    return 0;
}
