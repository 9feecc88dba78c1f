// The window from the keyboard alone. A key box takes the key pressed into it by the key's
// position (named as the user's layout labels it): any key at once, a modifier (Shift,
// Ctrl, Alt) when it is let go with no other key pressed meanwhile, so that a modifier held
// with another key stays a chord for the window (Shift+Tab, Alt+F4, Alt+Space, Ctrl+Z) and
// is never taken. With no profile shown a key box takes nothing, and Tab, Enter and Esc
// keep their meaning. The list opens its menu on the Menu key and Shift+F10 and renames on
// F2.
#include "ConfigDlg.h"
#include "resource.h"

namespace {

// The position of the key of a key message: its scan code, 0xE0 in the high byte for an
// extended key, as the key table holds positions.
uint16_t KeyPosition(LPARAM lParam)
{
    const uint16_t scanCode = static_cast<uint16_t>((lParam >> 16) & 0xFF);
    return (lParam & (1 << 24)) ? static_cast<uint16_t>(0xE000 | scanCode) : scanCode;
}

constexpr uint16_t kLeftCtrlPosition = 0x1D;
constexpr uint16_t kRightAltPosition = 0xE038;
constexpr WPARAM kModifiers[] = {VK_SHIFT, VK_CONTROL, VK_MENU};

bool IsModifier(WPARAM virtualKey)
{
    return virtualKey == VK_SHIFT || virtualKey == VK_CONTROL || virtualKey == VK_MENU;
}
bool IsHeld(WPARAM virtualKey) { return ::GetKeyState(static_cast<int>(virtualKey)) < 0; }
bool IsRepeat(const MSG* pMsg) { return (pMsg->lParam & (1 << 30)) != 0; }

// A modifier other than `virtualKey` is down.
bool OtherModifierHeld(WPARAM virtualKey)
{
    for (WPARAM modifier : kModifiers)
        if (modifier != virtualKey && IsHeld(modifier)) return true;
    return false;
}

// A key pressed with a modifier down: Alt as the message says, Shift and Ctrl as the
// keyboard's state says.
bool IsChord(const MSG* pMsg) { return (pMsg->lParam & (1 << 29)) != 0 || OtherModifierHeld(0); }

}  // namespace

BOOL CConfigDlg::KeyDown(const MSG* pMsg)
{
    if (pMsg->hwnd == m_listProfiles.GetSafeHwnd()) return ListKeyDown(pMsg);
    if (!IsKeyBox(::GetDlgCtrlID(pMsg->hwnd))) return FALSE;
    if (IsModifier(pMsg->wParam)) {
        ModifierDown(pMsg);
        return FALSE;
    }
    return KeyBoxKeyDown(pMsg);
}

BOOL CConfigDlg::KeyBoxKeyDown(const MSG* pMsg)
{
    m_heldModifier = {};
    if (IsChord(pMsg) || pMsg->wParam == VK_TAB) return FALSE;
    if (m_listProfiles.GetCurSel() == LB_ERR) return pMsg->wParam != VK_RETURN && pMsg->wParam != VK_ESCAPE;
    TakeKey(pMsg->hwnd, PressedPosition(pMsg));
    // Letting go of F10 would open the window's menu; not after a key box took it.
    if (pMsg->message == WM_SYSKEYDOWN) m_keyUpSwallowed = pMsg->wParam;
    return TRUE;
}

// AltGr is one key: Windows sends a made-up left Ctrl first, with the right Alt's time.
void CConfigDlg::ModifierDown(const MSG* pMsg)
{
    if (IsRepeat(pMsg)) return;
    const uint16_t position = KeyPosition(pMsg->lParam);
    const bool altGr = position == kRightAltPosition && m_heldModifier.position == kLeftCtrlPosition &&
                       m_heldModifier.time == pMsg->time;
    if (!altGr && OtherModifierHeld(pMsg->wParam)) {
        m_heldModifier = {};
        return;
    }
    m_heldModifier = {pMsg->hwnd, position, pMsg->wParam, pMsg->time};
}

// A modifier let go in the key box where it went down, with no key between, is taken;
// letting go of Alt then opens no menu.
BOOL CConfigDlg::KeyUp(const MSG* pMsg)
{
    if (pMsg->wParam == m_keyUpSwallowed) {
        m_keyUpSwallowed = 0;
        return TRUE;
    }
    if (pMsg->wParam != m_heldModifier.virtualKey) return FALSE;
    const HeldModifier held = m_heldModifier;
    m_heldModifier = {};
    if (held.box != pMsg->hwnd || m_listProfiles.GetCurSel() == LB_ERR) return FALSE;
    TakeKey(held.box, held.position);
    return TRUE;
}

// The key is taken by its position, whatever virtual key the layout or an input method
// made of it (VK_PROCESSKEY).
void CConfigDlg::TakeKey(HWND box, uint16_t position)
{
    const KeyEntry* row = KeyRowAtPosition(position);
    if (!row) return;
    SetKeyBox(::GetDlgCtrlID(box), {row->keyCode, row->position});
    KeyBoxEdited(::GetDlgCtrlID(box));
    if (CWnd* next = GetNextDlgTabItem(CWnd::FromHandle(box), FALSE)) next->SetFocus();
}

// Software that types for a person (an on-screen keyboard, say) may send a key without its
// scan code: its position then comes from its virtual key. A character typed as such
// (VK_PACKET) is no key at all.
uint16_t CConfigDlg::PressedPosition(const MSG* pMsg) const
{
    if (pMsg->wParam == VK_PACKET) return 0;
    const uint16_t position = KeyPosition(pMsg->lParam);
    if (position & 0xFF) return position;
    return PositionOfVirtualKey(m_layout, static_cast<uint8_t>(pMsg->wParam));
}

// The Menu key and Shift+F10 open the list's menu (whose own loop takes their release); F2
// renames. Like the mouse, they do nothing while no adapter is present.
BOOL CConfigDlg::ListKeyDown(const MSG* pMsg)
{
    if (pMsg->wParam == VK_APPS || (pMsg->wParam == VK_F10 && IsHeld(VK_SHIFT))) {
        if (m_bAdapterPresent) ShowListMenu(ListMenuCorner());
        return TRUE;
    }
    if (pMsg->wParam != VK_F2 || IsChord(pMsg)) return FALSE;
    if (m_bAdapterPresent) RenameProfile();
    return TRUE;
}

// Below the selected row, or at the list's top with none selected.
POINT CConfigDlg::ListMenuCorner() const
{
    HWND list = m_listProfiles.GetSafeHwnd();
    RECT row = {};
    const LRESULT selected = ::SendMessageW(list, LB_GETCURSEL, 0, 0);
    POINT corner = {0, 0};
    if (selected != LB_ERR && ::SendMessageW(list, LB_GETITEMRECT, selected, reinterpret_cast<LPARAM>(&row)) != LB_ERR)
        corner = {row.left, row.bottom};
    ::ClientToScreen(list, &corner);
    return corner;
}
