// The list commands: Add, Modify (rename), Delete and Use. They change only the list, the
// used flags and the active-profile byte in memory; nothing reaches the adapter before OK.
#include <cstring>

#include "ConfigDlg.h"
#include "GameNameDlg.h"
#include "resource.h"

namespace {

constexpr int kNameBufferSize = 16;

}  // namespace

void CConfigDlg::AddProfile()
{
    char name[kNameBufferSize] = {};
    CGameNameDlg dialog(nullptr);
    StoreAndShow();
    m_bModified = 0;
    if (!dialog.InputName(name)) return;

    int freeSlot = 0;
    while (freeSlot < kSlotCount && m_pUsed[freeSlot] == kSlotUsed) ++freeSlot;
    if (freeSlot == kSlotCount) return;  // Add is disabled before the list gets full

    // The controls still hold the settings shown before, so the new profile starts as a
    // copy of them; the next store writes them with the new name into the new slot.
    const int pos = m_listProfiles.AddString(name);
    m_listProfiles.SetItemData(pos, freeSlot);
    m_bModified = 1;
    m_nShownItem = pos;
    m_listProfiles.SetCurSel(pos);
    // A header whose active byte named a free slot makes the new profile the active one.
    if (freeSlot == Header().activeProfile) MoveActiveMark(LB_ERR);
    if (m_listProfiles.GetCount() >= kSlotCount) GetDlgItem(IDC_ADD)->EnableWindow(FALSE);
    TakeStep(IDS_STEP_ADD, name);
}

void CConfigDlg::RenameProfile()
{
    const int pos = m_listProfiles.GetCurSel();
    if (pos == LB_ERR) return;
    CGameNameDlg dialog(nullptr);
    char name[kNameBufferSize] = {};
    if (m_listProfiles.GetTextLen(pos) < kNameBufferSize) m_listProfiles.GetText(pos, name);
    if (!dialog.InputName(name)) return;

    const DWORD_PTR slot = m_listProfiles.GetItemData(pos);
    m_listProfiles.DeleteString(pos);
    m_listProfiles.InsertString(pos, name);
    m_listProfiles.SetItemData(pos, slot & 0xFFFF);
    // Selected again, as it was before the rename.
    m_listProfiles.SetCurSel(pos);
    m_bModified = 1;
    TakeStep(IDS_STEP_MODIFY, name);
}

void CConfigDlg::DeleteProfile()
{
    const int pos = m_listProfiles.GetCurSel();
    if (pos == LB_ERR) return;
    const int slot = ProfileSlot(pos);
    const std::string name = RowName(pos);
    const int markedRow = m_listProfiles.FindItemByData(Header().activeProfile);
    m_pUsed[slot] = 0;
    GetDlgItem(IDC_DELETE)->EnableWindow(FALSE);
    m_listProfiles.DeleteString(pos);

    // The shown profile's edits go with it; another shown profile keeps its position.
    if (m_nShownItem == pos) {
        m_nShownItem = -1;
        m_bModified = 0;
    } else if (m_nShownItem > pos) {
        --m_nShownItem;
    }
    if (slot == Header().activeProfile)
        Header().activeProfile = m_listProfiles.GetCount() > 0 ? static_cast<uint8_t>(ProfileSlot(0)) : 0;
    MoveActiveMark(markedRow);
    // The disabled Delete button can hold the focus no more: the keyboard goes on from the list.
    ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_listProfiles.GetSafeHwnd()), TRUE);
    TakeStep(IDS_STEP_DELETE, name);
}

// Marks are kept by list position; after rows moved, the mark goes to where the active
// profile is now.
void CConfigDlg::MoveActiveMark(int markedRow)
{
    if (markedRow != LB_ERR) m_listProfiles.RemoveItemMark(markedRow, RowMark::kActive);
    const int activeRow = m_listProfiles.FindItemByData(Header().activeProfile);
    if (activeRow != LB_ERR) m_listProfiles.SetItemMark(activeRow, RowMark::kActive);
}

void CConfigDlg::UseProfile()
{
    const int pos = m_listProfiles.GetCurSel();
    if (pos == LB_ERR) return;
    m_listProfiles.RemoveItemMark(m_listProfiles.FindItemByData(Header().activeProfile), RowMark::kActive);
    Header().activeProfile = static_cast<uint8_t>(ProfileSlot(pos));
    m_listProfiles.SetItemMark(pos, RowMark::kActive);
    TakeStep(IDS_STEP_USE, RowName(pos));
}

void CConfigDlg::ShowListMenu(POINT at)
{
    CMenu menu;
    if (!menu.LoadMenu(IDR_LIST_MENU)) return;
    CMenu* popup = menu.GetSubMenu(0);
    if (!popup) return;
    // Import, like Add, puts profiles into free slots; Export, like the others, works on
    // the selected one.
    if (!GetDlgItem(IDC_ADD)->IsWindowEnabled()) {
        for (UINT item : {ID_MENU_ADD, ID_MENU_IMPORT}) popup->EnableMenuItem(item, MF_BYCOMMAND | MF_GRAYED);
    }
    if (m_listProfiles.GetCurSel() == LB_ERR) {
        for (UINT item : {ID_MENU_USE, ID_MENU_DELETE, ID_MENU_MODIFY, ID_MENU_EXPORT})
            popup->EnableMenuItem(item, MF_BYCOMMAND | MF_GRAYED);
    }
    NameUndoItems(*popup);
    SetForegroundWindow();
    popup->TrackPopupMenu(0, at.x, at.y, this);
}
