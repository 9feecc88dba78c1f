// Undo and redo for the main window. Every edit ends with TakeStep, which keeps the
// window's whole state as a snapshot in the history; undo and redo put a snapshot back
// whole: the image, the list, the selection, the controls and the buttons. Nothing here
// talks to the adapter.
#include <cstring>

#include "ConfigDlg.h"
#include "resource.h"

namespace {

bool IsKeyBoxId(UINT nID) { return nID >= IDC_KEY_FIRST && nID <= IDC_KEY_LAST; }
bool IsComboButtonId(UINT nID) { return nID >= IDC_COMBO_FIRST && nID < IDC_COMBO_FIRST + kPadButtonCount; }
// A mouse row's byte outside the pad buttons: the row shows nothing checked.
constexpr uint8_t kNoPadButton = 0xFF;

}  // namespace

// A load: what the adapter holds now is where the history starts and what OK compares with.
void CConfigDlg::StartHistory()
{
    m_speedGesture = false;
    m_adapterImage = m_link.Image();
    m_history.Start(Snapshot());
    ShowPendingWrites();
}

void CConfigDlg::TakeStep(const std::wstring& label)
{
    if (m_history.Take(Snapshot(), label)) ShowPendingWrites();
}

void CConfigDlg::TakeStep(UINT labelId, const std::string& name)
{
    TakeStep(AfxFormatString(labelId, {AfxWideFromAnsi(name)}));
}

std::wstring CConfigDlg::ControlStepLabel(UINT nID) const
{
    wchar_t key[kNameBytes + 1] = {};
    if (IsKeyBoxId(nID) || nID == IDC_COMBO_KEY) ::GetDlgItemTextW(m_hWnd, static_cast<int>(nID), key, kNameBytes + 1);
    if (IsKeyBoxId(nID)) return AfxFormatString(IDS_STEP_KEY, {key});
    if (nID == IDC_COMBO_KEY) return AfxFormatString(IDS_STEP_COMBINATION_KEY, {key});
    if (nID == IDC_AXIS_MODE) return AfxLoadString(IDS_STEP_AXIS);
    if (IsComboButtonId(nID)) return AfxLoadString(IDS_STEP_COMBINATION);
    return AfxLoadString(IDS_STEP_MOUSE);
}

// A drag of the slider, or a run of arrow keys on it, is one step: it ends when the
// slider says so, or at the next press anywhere else, before that press is handled.
void CConfigDlg::EndSpeedGesture()
{
    if (!m_speedGesture) return;
    m_speedGesture = false;
    TakeStep(AfxLoadString(IDS_STEP_SPEED));
}

BOOL CConfigDlg::EndsSpeedGesture(const MSG* pMsg) const
{
    switch (pMsg->message) {
    case WM_KEYDOWN: case WM_SYSKEYDOWN: case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        return m_speedGesture && pMsg->hwnd != m_sliderSpeed.GetSafeHwnd();
    }
    return FALSE;
}

// Ctrl+Z undoes, Ctrl+Y and Ctrl+Shift+Z redo, wherever the focus is: they are never a
// key for a key box. Ctrl with Alt is AltGr on many layouts, which types, so it is left.
BOOL CConfigDlg::UndoRedoChord(const MSG* pMsg)
{
    if (::GetKeyState(VK_CONTROL) >= 0 || ::GetKeyState(VK_MENU) < 0) return FALSE;
    const bool shift = ::GetKeyState(VK_SHIFT) < 0;
    if (pMsg->wParam == 'Z' && !shift) Undo();
    else if (pMsg->wParam == 'Y' || pMsg->wParam == 'Z') Redo();
    else return FALSE;
    m_heldModifier = {};  // Ctrl was part of the chord: letting it go takes no key
    return TRUE;
}

void CConfigDlg::Undo()
{
    EndSpeedGesture();
    if (m_history.CanUndo()) Restore(m_history.Undo());
}

void CConfigDlg::Redo()
{
    EndSpeedGesture();
    if (m_history.CanRedo()) Restore(m_history.Redo());
}

// Another row selected is no edit; undoing the next edit comes back to this row. Delete,
// off since the last deletion left no row selected, works on it.
void CConfigDlg::OnProfileSelected()
{
    StoreAndShow();
    GetDlgItem(IDC_DELETE)->EnableWindow(m_nShownItem != -1);
    m_history.Look(View());
}

// The image as OK would write it: the shown profile's pending edits stored into a copy,
// so that taking a step changes nothing in the window.
EditSnapshot CConfigDlg::Snapshot()
{
    EditSnapshot state;
    state.image = m_link.Image();
    if (m_bModified && m_nShownItem != -1)
        StoreShown(state.image.data(), HeaderOfImage(state.image.data()).used);
    for (int row = 0; row < m_listProfiles.GetCount(); ++row) state.rows.push_back({RowName(row), ProfileSlot(row)});
    state.view = View();
    state.addEnabled = GetDlgItem(IDC_ADD)->IsWindowEnabled();
    return state;
}

EditView CConfigDlg::View()
{
    EditView view;
    const int selected = m_listProfiles.GetCurSel();
    view.selected = selected == LB_ERR ? -1 : selected;
    view.shown = m_nShownItem;
    view.controls = ControlsRecord();
    view.deleteEnabled = GetDlgItem(IDC_DELETE)->IsWindowEnabled();
    return view;
}

// The controls' values as a record that ShowRecord shows again exactly: a mouse row
// with nothing checked and a combination with no pad button stay so.
ProfileRecord CConfigDlg::ControlsRecord()
{
    ProfileRecord controls = {};
    std::memset(controls.mouseButtons, kNoPadButton, sizeof controls.mouseButtons);
    StoreRecord(controls);
    controls.comboButtons = CheckedComboButtons();
    return controls;
}

void CConfigDlg::Restore(const EditSnapshot& state)
{
    m_link.ReplaceImage(state.image.data());
    ClearList();
    for (const ListRow& row : state.rows) m_listProfiles.SetItemData(m_listProfiles.AddString(row.name.c_str()), row.slot);
    MoveActiveMark(LB_ERR);
    m_listProfiles.SetCurSel(state.view.selected);
    m_nShownItem = state.view.shown;
    m_bModified = 0;
    ShowRecord(state.view.controls);
    GetDlgItem(IDC_ADD)->EnableWindow(state.addEnabled);
    GetDlgItem(IDC_DELETE)->EnableWindow(state.view.deleteEnabled);
    ShowPendingWrites();
}

// The menu's Undo and Redo name the step they take back or again, and are greyed when
// there is none.
void CConfigDlg::NameUndoItems(CMenu& popup) const
{
    const struct {
        UINT item;
        bool possible;
        UINT format;
    } items[] = {{ID_MENU_UNDO, m_history.CanUndo(), IDS_UNDO_ITEM}, {ID_MENU_REDO, m_history.CanRedo(), IDS_REDO_ITEM}};
    for (const auto& entry : items) {
        if (!entry.possible) {
            popup.EnableMenuItem(entry.item, MF_BYCOMMAND | MF_GRAYED);
            continue;
        }
        const std::wstring& label = entry.item == ID_MENU_UNDO ? m_history.UndoLabel() : m_history.RedoLabel();
        const std::wstring text = AfxFormatString(entry.format, {label});
        ::ModifyMenuW(popup.m_hMenu, entry.item, MF_BYCOMMAND | MF_STRING, entry.item, text.c_str());
    }
}

std::string CConfigDlg::RowName(int row) const
{
    char name[kNameBytes + 1] = {};
    if (m_listProfiles.GetTextLen(row) <= kNameBytes) m_listProfiles.GetText(row, name);
    return name;
}
