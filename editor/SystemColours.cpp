// The main window in the system's colours: high contrast asks for them alone, and a change
// of the colours or of that setting shows at once, pictures included.
#include "ConfigDlg.h"

bool CConfigDlg::HighContrastOn() const
{
    HIGHCONTRASTW setting = {};
    setting.cbSize = sizeof setting;
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) &&
           (setting.dwFlags & HCF_HIGHCONTRASTON);
}

void CConfigDlg::RedrawAll()
{
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

// The common controls (the speed slider) learn of new colours only from their parent.
// The pictures are loaded again onto the new button face.
LRESULT CConfigDlg::OnSysColorChange(WPARAM wParam, LPARAM lParam)
{
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        ::SendMessageW(child, WM_SYSCOLORCHANGE, wParam, lParam);
    ShowPicturesAt(m_pictures.Dpi());
    RedrawAll();
    return 0;
}

LRESULT CConfigDlg::OnSettingChange(WPARAM wParam, LPARAM)
{
    const LRESULT result = Default();
    if (wParam == SPI_SETHIGHCONTRAST) RedrawAll();
    return result;
}
