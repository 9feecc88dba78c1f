// Profiles to and from JSON files (the list's menu) and the whole configuration to and
// from its 4096-byte image (the system menu), in the forms vantorctl writes and reads.
// A file is checked whole before anything of it is taken, and a refused file leaves the
// window as it was. Like the list commands, they change only the window's copy: nothing
// reaches the adapter before OK.
#include "ConfigDlg.h"

#include <commdlg.h>

#include <cstring>

#include "AtomicFile.h"
#include "ProfileFiles.h"
#include "resource.h"

namespace {

const char kSaveCopyText[] = "Save a copy of all profiles...";
const char kOpenCopyText[] = "Open a copy...";
// A message box names at most this many problems.
constexpr size_t kToldLines = 12;

std::string Lines(const std::vector<std::string>& lines)
{
    std::string text;
    for (size_t index = 0; index < lines.size() && index < kToldLines; ++index) text += lines[index] + "\n";
    if (lines.size() > kToldLines) text += "... and " + std::to_string(lines.size() - kToldLines) + " more\n";
    return text;
}

int UsedCount(const std::vector<uint8_t>& image)
{
    int count = 0;
    for (uint8_t flag : HeaderOfImage(image.data()).used) count += flag == kSlotUsed;
    return count;
}

}  // namespace

bool CConfigDlg::AskFileName(FileKind kind, bool save, std::string& path)
{
    const bool profiles = kind == FileKind::kProfiles;
    char name[MAX_PATH] = {};
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = m_hWnd;
    dialog.lpstrFilter = profiles ? "Profiles (*.json)\0*.json\0All files (*.*)\0*.*\0"
                                  : "Configurations (*.bin)\0*.bin\0All files (*.*)\0*.*\0";
    dialog.lpstrFile = name;
    dialog.nMaxFile = sizeof name;
    dialog.lpstrDefExt = profiles ? "json" : "bin";
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    if (!(save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog))) return false;
    path = name;
    return true;
}

void CConfigDlg::ExportProfile()
{
    const int pos = m_listProfiles.GetCurSel();
    std::string path;
    if (pos == LB_ERR || !AskFileName(FileKind::kProfiles, true, path)) return;
    StoreAndShow();  // the shown profile's edits go into the file
    const std::vector<uint8_t> image = m_link.Image();
    const std::vector<int> slots = {ProfileSlot(pos)};
    const std::string text = ProfileFileText(image.data(), slots);
    if (!WriteFileAtomically(path, {text.begin(), text.end()})) {
        Tell(("The profile could not be written to " + path + FileErrorReason() + ".").c_str(), MB_OK | MB_ICONERROR);
        return;
    }
    const std::vector<std::string> warnings = NameWrittenByteForByteWarnings(image.data(), slots);
    if (!warnings.empty()) Tell(("The profile was exported with a warning:\n\n" + Lines(warnings)).c_str(), MB_OK | MB_ICONWARNING);
}

// The window's image with every listed profile's slot used: a profile added since the
// last store has its used flag set only when it is stored.
std::vector<uint8_t> CConfigDlg::ImageWithListedSlotsUsed()
{
    std::vector<uint8_t> image = m_link.Image();
    for (int row = 0; row < m_listProfiles.GetCount(); ++row) HeaderOfImage(image.data()).used[ProfileSlot(row)] = kSlotUsed;
    return image;
}

void CConfigDlg::ImportProfiles()
{
    std::string path;
    if (!AskFileName(FileKind::kProfiles, false, path)) return;
    std::vector<IncomingProfile> incoming;
    std::vector<std::string> problems;
    std::vector<uint8_t> image = ImageWithListedSlotsUsed();
    std::vector<Placement> placements;
    if (ReadProfileFile(path, incoming, problems)) problems = PlaceProfiles(image, incoming, false, placements);
    if (!problems.empty()) {
        Tell(("Nothing was imported; the window is unchanged.\n\n" + Lines(problems)).c_str(), MB_OK | MB_ICONERROR);
        return;
    }
    if (placements.empty()) {
        Tell((path + " holds no profiles; nothing was imported.").c_str(), MB_OK | MB_ICONINFORMATION);
        return;
    }

    StoreAndShow();
    m_bModified = 0;
    const int markedRow = m_listProfiles.FindItemByData(Header().activeProfile);
    int firstRow = LB_ERR;
    for (const Placement& placement : placements) {
        std::memcpy(RecordOfSlot(m_pRecords, placement.slot), RecordOfSlot(image.data(), placement.slot), kBlockSize);
        m_pUsed[placement.slot] = kSlotUsed;
        const int row = AddProfileRow(placement.slot);
        if (firstRow == LB_ERR) firstRow = row;
    }
    m_listProfiles.SetCurSel(firstRow);
    StoreAndShow();
    // A header whose active byte named a free slot makes the profile placed there active.
    if (markedRow == LB_ERR) MoveActiveMark(LB_ERR);
    if (m_listProfiles.GetCount() >= kSlotCount) GetDlgItem(IDC_ADD)->EnableWindow(FALSE);

    const std::vector<std::string> warnings = RepeatedKeyWarnings(image, placements);
    if (!warnings.empty()) Tell(("The profiles were imported with a warning:\n\n" + Lines(warnings)).c_str(), MB_OK | MB_ICONWARNING);
}

// OK's rule: a single profile is the active one, and with none the header says none.
void CConfigDlg::SettleActiveProfile(ImageHeader& header) const
{
    const int count = m_listProfiles.GetCount();
    if (count == 1) header.activeProfile = static_cast<uint8_t>(ProfileSlot(0));
    else if (count == 0) header.activeProfile = kNoActiveProfile;
}

void CConfigDlg::SaveCopy()
{
    std::string path;
    if (!AskFileName(FileKind::kConfiguration, true, path)) return;
    StoreAndShow();  // the shown profile's edits go into the copy
    std::vector<uint8_t> image = m_link.Image();
    SettleActiveProfile(HeaderOfImage(image.data()));
    if (!WriteFileAtomically(path, image))
        Tell(("The copy could not be written to " + path + FileErrorReason() + ".").c_str(), MB_OK | MB_ICONERROR);
}

void CConfigDlg::OpenCopy()
{
    std::string path;
    if (!AskFileName(FileKind::kConfiguration, false, path)) return;
    std::vector<uint8_t> image;
    const std::string refusal = ReadImageFile(path, image);
    if (!refusal.empty()) {
        Tell(("The copy was not opened; the window is unchanged.\n\n" + refusal).c_str(), MB_OK | MB_ICONERROR);
        return;
    }
    const std::string question = "Replace the window's profiles, your changes included, with the " +
                                 std::to_string(UsedCount(image)) + " profiles of " + path +
                                 "?\n\nNothing is written to the adapter before OK.";
    if (Tell(question.c_str(), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) return;
    m_link.ReplaceImage(image.data());
    ShowConfiguration();
}

// The list anew from the link's image, as at start-up: the used profiles in slot order,
// the active one selected, marked red and shown.
void CConfigDlg::ShowConfiguration()
{
    ClearList();
    m_bModified = 0;
    m_nShownItem = -1;
    m_crActiveMark = kStartupActiveColor;
    ListUsedProfiles();
    GetDlgItem(IDC_ADD)->EnableWindow(m_listProfiles.GetCount() < kSlotCount);
}

void CConfigDlg::ClearList()
{
    for (int row = m_listProfiles.GetCount() - 1; row >= 0; --row) {
        m_listProfiles.RemoveItemColor(row);
        m_listProfiles.DeleteString(row);
    }
}

int CConfigDlg::AddProfileRow(int slot)
{
    char name[kNameBytes + 1] = {};
    std::memcpy(name, RecordOfSlot(m_pRecords, slot)->name, kNameBytes);
    const int row = m_listProfiles.AddString(name);
    m_listProfiles.SetItemData(row, slot);
    return row;
}

// They start greyed, until a configuration is loaded.
void CConfigDlg::AddCopyItems(CMenu& systemMenu)
{
    systemMenu.AppendMenu(MF_SEPARATOR);
    systemMenu.AppendMenu(MF_STRING | MF_GRAYED, IDM_SAVE_COPY, kSaveCopyText);
    systemMenu.AppendMenu(MF_STRING | MF_GRAYED, IDM_OPEN_COPY, kOpenCopyText);
}

void CConfigDlg::EnableCopyItems()
{
    if (CMenu* systemMenu = GetSystemMenu(FALSE)) {
        for (UINT item : {IDM_SAVE_COPY, IDM_OPEN_COPY}) systemMenu->EnableMenuItem(item, MF_BYCOMMAND | MF_ENABLED);
    }
}
