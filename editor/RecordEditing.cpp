// Moving one profile record between the editor controls and the configuration image.
// The controls themselves hold the edits; StoreAndShow writes them into the record that
// is shown and then shows the record of the selected entry.
#include <cstring>

#include "ConfigDlg.h"
#include "resource.h"

namespace {

constexpr int kMouseRowFirst[kMouseButtonCount] = {IDC_RIGHT_FIRST, IDC_LEFT_FIRST, IDC_MIDDLE_FIRST};

}  // namespace

void CConfigDlg::StoreAndShow()
{
    if (m_bModified) {
        m_bModified = 0;
        if (m_nShownItem != -1) StoreShown(m_pRecords, m_pUsed);
    }
    m_nShownItem = m_listProfiles.GetCurSel();
    if (m_nShownItem == LB_ERR) {
        m_nShownItem = -1;
        return;
    }
    ShowRecord(*RecordOfSlot(m_pRecords, ProfileSlot(m_nShownItem)));
}

void CConfigDlg::StoreShown(uint8_t* records, uint8_t* used)
{
    const int slot = ProfileSlot(m_nShownItem);
    StoreRecord(*RecordOfSlot(records, slot));
    used[slot] = kSlotUsed;
}

void CConfigDlg::StoreRecord(ProfileRecord& record)
{
    char text[kNameBytes + 1] = {};
    if (m_listProfiles.GetTextLen(m_nShownItem) <= kNameBytes) m_listProfiles.GetText(m_nShownItem, text);
    std::memcpy(record.name, text, kNameBytes);

    std::memset(record.keySlots, 0, sizeof record.keySlots);
    record.axisMode = IsDlgButtonChecked(IDC_AXIS_MODE) == BST_CHECKED ? 1 : 0;
    const uint8_t* map = KeySlotMap(record.axisMode);
    for (int box = 0; box < kKeyBoxCount; ++box) record.keySlots[map[box]] = KeyBoxCode(IDC_KEY_FIRST + box);
    record.speed = static_cast<uint8_t>(m_sliderSpeed.GetPos());

    const uint8_t comboButtons = CheckedComboButtons();
    record.comboKey = KeyBoxCode(IDC_COMBO_KEY);
    record.comboButtons = comboButtons ? comboButtons : 1;

    // A row with nothing checked keeps the byte it had.
    for (int row = 0; row < kMouseButtonCount; ++row) {
        for (int button = 0; button < kPadButtonCount; ++button) {
            if (IsDlgButtonChecked(kMouseRowFirst[row] + button) == BST_CHECKED) {
                record.mouseButtons[row] = static_cast<uint8_t>(button);
                break;
            }
        }
    }
}

uint8_t CConfigDlg::CheckedComboButtons() const
{
    uint8_t buttons = 0;
    for (int button = 0; button < kPadButtonCount; ++button)
        if (IsDlgButtonChecked(IDC_COMBO_FIRST + button) == BST_CHECKED) buttons |= 1u << button;
    return buttons;
}

uint8_t CConfigDlg::KeyBoxCode(int id) const { return m_keyBoxKeys[id - IDC_KEY_FIRST].code; }

void CConfigDlg::SetKeyBox(int id, KeyBoxKey key)
{
    m_keyBoxKeys[id - IDC_KEY_FIRST] = key;
    NameKeyBox(id);
}

void CConfigDlg::NameKeyBox(int id)
{
    const KeyBoxKey& key = m_keyBoxKeys[id - IDC_KEY_FIRST];
    const std::wstring name = key.position ? m_keyNames.NameAtPosition(key.position) : m_keyNames.NameOfCode(key.code);
    const BOOL naming = m_bNamingKey;
    m_bNamingKey = TRUE;
    ::SetDlgItemTextW(m_hWnd, id, name.c_str());
    m_bNamingKey = naming;
}

void CConfigDlg::KeyBoxTextEdited(int id)
{
    if (::GetWindowTextLengthW(::GetDlgItem(m_hWnd, id)) == 0 && KeyBoxCode(id) != 0) {
        SetKeyBox(id, {});
        KeyBoxEdited(id);
        return;
    }
    NameKeyBox(id);
}

// A radio row's tab stop is on its checked button (the buttons move it as they are checked);
// a row with none checked keeps one on its first, so that the keyboard reaches it.
void CConfigDlg::KeepRadioRowReachable(int firstButton)
{
    HWND button = ::GetDlgItem(m_hWnd, firstButton);
    ::SetWindowLongW(button, GWL_STYLE, ::GetWindowLongW(button, GWL_STYLE) | WS_TABSTOP);
}

void CConfigDlg::ShowRecord(const ProfileRecord& record)
{
    // The controls notify the values set here as changes; they are none of the user's.
    m_bShowing = TRUE;
    const uint8_t* map = KeySlotMap(record.axisMode);
    for (int box = 0; box < kKeyBoxCount; ++box) SetKeyBox(IDC_KEY_FIRST + box, {record.keySlots[map[box]], 0});
    SetKeyBox(IDC_COMBO_KEY, {record.comboKey, 0});
    MarkRepeatedKeys();
    for (int button = 0; button < kPadButtonCount; ++button)
        CheckDlgButton(IDC_COMBO_FIRST + button, (record.comboButtons >> button) & 1 ? BST_CHECKED : BST_UNCHECKED);

    // A mouse byte outside 0 to 7 checks nothing in its row, rather than a button of the
    // next row, so that the next store keeps it instead of changing another row.
    for (int row = 0; row < kMouseButtonCount; ++row) {
        for (int button = 0; button < kPadButtonCount; ++button)
            CheckDlgButton(kMouseRowFirst[row] + button, BST_UNCHECKED);
        if (record.mouseButtons[row] < kPadButtonCount)
            CheckDlgButton(kMouseRowFirst[row] + record.mouseButtons[row], BST_CHECKED);
        else
            KeepRadioRowReachable(kMouseRowFirst[row]);
    }
    CheckDlgButton(IDC_AXIS_MODE, record.axisMode ? BST_CHECKED : BST_UNCHECKED);
    m_sliderSpeed.SetPos(record.speed);
    m_bShowing = FALSE;
}
