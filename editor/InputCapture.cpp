// Looks at every message before the dialog manager: keys go to the keyboard's handling
// (KeyboardInput.cpp), edit gestures mark the shown profile for storing, clicks are
// swallowed while no adapter is present, and a right click on the list opens its menu. The
// controls' own notifications mark every change of their values.
#include "ConfigDlg.h"
#include "resource.h"

#include <imm.h>
#include <shellapi.h>
#include <windowsx.h>

namespace {

const char kWebAddress[] = "www.brenvo.example";
constexpr int kFirstEditControl = IDC_SPEED;           // 1007: slider, axis box, buttons,
constexpr int kLastEditControl = IDC_MIDDLE_FIRST + 7;  // 1049: ... to the last radio row

}  // namespace

BOOL CConfigDlg::PreTranslateMessage(MSG* pMsg)
{
    // A message posted to the thread rather than to a window is none of the window's input.
    if (!pMsg->hwnd) return CDialog::PreTranslateMessage(pMsg);
    if (EndsSpeedGesture(pMsg)) EndSpeedGesture();
    switch (pMsg->message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (UndoRedoChord(pMsg) || KeyDown(pMsg)) return TRUE;
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (KeyUp(pMsg)) return TRUE;
        break;
    case WM_LBUTTONDOWN:
        if (LeftButtonDown(pMsg)) return TRUE;
        break;
    case WM_LBUTTONDBLCLK:  // a button takes the second press of a double click as a press
        if (ClickGated(pMsg)) return TRUE;
        break;
    case WM_RBUTTONDOWN:
        if (RightButtonDown(pMsg)) return TRUE;
        break;
    }
    return CDialog::PreTranslateMessage(pMsg);
}

// No input method composes in a key box: every key reaches it as the key pressed.
void CConfigDlg::SwitchOffInputMethods()
{
    for (int id = IDC_KEY_FIRST; id <= IDC_COMBO_KEY; ++id)
        if (HWND box = ::GetDlgItem(m_hWnd, id)) ImmAssociateContext(box, nullptr);
}

// The user switched the keyboard layout: every key box keeps its key, named anew.
LRESULT CConfigDlg::OnInputLanguageChanged(WPARAM, LPARAM)
{
    m_keyNames = KeyNames(m_layout);
    for (int id = IDC_KEY_FIRST; id <= IDC_COMBO_KEY; ++id)
        if (IsKeyBox(id)) NameKeyBox(id);
    return Default();
}

BOOL CConfigDlg::LeftButtonDown(const MSG* pMsg)
{
    // The point is relative to the window that got the press; the logo is looked for in
    // the main window's own coordinates.
    POINT point = {GET_X_LPARAM(pMsg->lParam), GET_Y_LPARAM(pMsg->lParam)};
    MapWindowPoints(pMsg->hwnd, m_hWnd, &point, 1);
    if (IsLogoAt(point)) OpenWebAddress();

    if (ClickGated(pMsg)) return TRUE;
    const int id = CWnd::FromHandle(pMsg->hwnd)->GetDlgCtrlID();
    if (!m_bModified && id >= kFirstEditControl && id <= kLastEditControl) m_bModified = 1;
    return FALSE;
}

// Without an adapter, a press anywhere but on Cancel is swallowed.
BOOL CConfigDlg::ClickGated(const MSG* pMsg) const
{
    return !m_bAdapterPresent && CWnd::FromHandle(pMsg->hwnd)->GetDlgCtrlID() != IDCANCEL;
}

BOOL CConfigDlg::RightButtonDown(const MSG* pMsg)
{
    if (!m_bAdapterPresent) return TRUE;
    if (pMsg->hwnd != m_listProfiles.GetSafeHwnd()) return FALSE;
    POINT cursor;
    GetCursorPos(&cursor);
    ShowListMenu(cursor);
    return FALSE;
}

BOOL CConfigDlg::IsLogoAt(POINT point) const
{
    CWnd* child = ChildWindowFromPoint(point);
    return child && child->GetDlgCtrlID() == IDC_LOGO;
}

void CConfigDlg::OnMouseMove(UINT, POINT point)
{
    if (IsLogoAt(point)) SetCursor(LoadCursor(nullptr, IDC_HAND));
    Default();
}

void CConfigDlg::OnLogo() { OpenWebAddress(); }

// Whatever changes a control's value, keyboard and mouse wheel included, marks the shown
// profile for storing; the values that the show phase sets are no edits. A key box's key
// changes only by a key press or by emptying it; the names drawn for keys are no edits.
void CConfigDlg::OnControlEdited(UINT nID)
{
    if (IsKeyBox(static_cast<int>(nID))) {
        if (!m_bNamingKey) KeyBoxTextEdited(static_cast<int>(nID));
        return;
    }
    if (m_bShowing) return;
    m_bModified = 1;
    TakeStep(ControlStepLabel(nID));
}

// A key box took a key or lost it: an edit of the shown profile, one step.
void CConfigDlg::KeyBoxEdited(int id)
{
    m_bModified = 1;
    if (id <= IDC_KEY_LAST) MarkRepeatedKeys();
    TakeStep(ControlStepLabel(static_cast<UINT>(id)));
}

// The slider reports each move of a drag or a key press, and their end.
void CConfigDlg::OnHScroll(UINT nSBCode, UINT, CWnd* pScrollBar)
{
    if (pScrollBar != &m_sliderSpeed || m_bShowing) return;
    m_bModified = 1;
    m_speedGesture = true;
    if (nSBCode == TB_ENDTRACK) EndSpeedGesture();
}

void CConfigDlg::OpenWebAddress() { ShellExecuteA(m_hWnd, "Open", kWebAddress, nullptr, nullptr, SW_SHOW); }
