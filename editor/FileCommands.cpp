// Profiles to and from JSON files (the list's menu) and the whole configuration to and
// from its 4096-byte image (the system menu), in the forms vantorctl writes and reads.
// A file is checked whole before anything of it is taken, and a refused file leaves the
// window as it was. Like the list commands, they change only the window's copy: nothing
// reaches the adapter before OK.
#include "ConfigDlg.h"

#include <commdlg.h>

#include <cstring>
#include <iterator>

#include "AtomicFile.h"
#include "ProfileFiles.h"
#include "resource.h"

namespace {

// A message box names at most this many problems.
constexpr size_t kToldLines = 12;

std::wstring Lines(const std::vector<std::wstring>& lines)
{
    std::wstring text;
    for (size_t index = 0; index < lines.size() && index < kToldLines; ++index) text += lines[index] + L"\n";
    if (lines.size() > kToldLines)
        text += AfxFormatString(IDS_MORE_LINES, {std::to_wstring(lines.size() - kToldLines)}) + L"\n";
    return text;
}

std::wstring Lines(const std::vector<std::string>& lines)
{
    std::vector<std::wstring> wide;
    for (const std::string& line : lines) wide.push_back(AfxWideFromAnsi(line));
    return Lines(wide);
}

std::wstring WideFromUtf8(const std::string& text) { return AfxWideFromCodePage(text, CP_UTF8); }

// The words of each kind of problem, in the order of ProblemKind.
constexpr UINT kProblemWords[] = {
    IDS_PROBLEM_FILE_TOO_LONG, IDS_PROBLEM_NOT_JSON,     IDS_PROBLEM_NO_PROFILES, IDS_PROBLEM_MISSING,
    IDS_PROBLEM_NOT_OBJECT,    IDS_PROBLEM_NOT_TEXT,     IDS_PROBLEM_NOT_LIST,    IDS_PROBLEM_NOT_WHOLE,
    IDS_PROBLEM_OUTSIDE,       IDS_PROBLEM_UNKNOWN_KEY,  IDS_PROBLEM_UNKNOWN_PAD, IDS_PROBLEM_NOT_IN_CODE_PAGE,
    IDS_PROBLEM_HOLDS_NUL,     IDS_PROBLEM_NAME_LENGTH,  IDS_PROBLEM_NO_SLOT,     IDS_PROBLEM_NAME_REPEATED};
static_assert(std::size(kProblemWords) == size_t(ProblemKind::kNameRepeated) + 1, "every kind has its words");

std::wstring WhatIsWrong(const FieldProblem& problem)
{
    std::vector<std::wstring> values;
    for (const std::string& value : problem.values) values.push_back(WideFromUtf8(value));
    values.resize(3);
    const std::wstring what =
        AfxFormatString(kProblemWords[size_t(problem.kind)], {values[0], values[1], values[2]});
    return problem.field.empty() ? what : WideFromUtf8(problem.field) + L": " + what;
}

// A refused file's problem in the window's language, naming the file `path` as it is.
std::wstring ProblemLine(const ProfileProblem& problem, const SystemPath& path)
{
    const ProfileLabel& profile = problem.profile;
    if (profile.english.empty()) return AfxFormatString(IDS_PROBLEM_IN_FILE, {path, WhatIsWrong(problem.problem)});
    const std::wstring number = std::to_wstring(profile.number);
    const std::wstring label = profile.name.empty() ? AfxFormatString(IDS_PROFILE_LABEL, {number})
                                                    : AfxFormatString(IDS_PROFILE_LABEL_NAMED, {number, WideFromUtf8(profile.name)});
    return (problem.file.empty() ? L"" : path + L": ") + label + L": " + WhatIsWrong(problem.problem);
}

std::vector<std::wstring> ProblemLines(const std::vector<ProfileProblem>& problems, const SystemPath& path)
{
    std::vector<std::wstring> lines;
    for (const ProfileProblem& problem : problems) lines.push_back(ProblemLine(problem, path));
    return lines;
}

// A file dialog's filter from the string table, where `|` stands for the NULs that end
// its parts.
std::wstring FileFilter(UINT nID)
{
    std::wstring filter = AfxLoadString(nID);
    for (wchar_t& c : filter)
        if (c == L'|') c = L'\0';
    return filter;
}

// The file functions' messages name the file as narrow text, where a character outside
// the ANSI code page is lost: `text` with the file's own name in its place.
std::wstring WithFileName(std::wstring text, const SystemPath& path)
{
    const std::wstring narrowName = AfxWideFromAnsi(NarrowText(path));
    if (narrowName.empty() || narrowName == path) return text;
    for (size_t at = text.find(narrowName); at != std::wstring::npos; at = text.find(narrowName, at + path.size()))
        text.replace(at, narrowName.size(), path);
    return text;
}

// Why a file was not read, with the system's reason as it gives it, in any language.
std::wstring CannotReadText(const SystemPath& path, const FileOutcome& read)
{
    return AfxFormatString(IDS_CANNOT_READ, {path, read.reason});
}

// Shows the Save or Open dialog with the process's current folder kept: the Open dialog
// moves it to the chosen file's folder even when asked not to (OFN_NOCHANGEDIR).
bool ShowFileDialog(OPENFILENAMEW& dialog, bool save)
{
    std::wstring folder(::GetCurrentDirectoryW(0, nullptr), L'\0');
    folder.resize(::GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
    const bool chosen = save ? ::GetSaveFileNameW(&dialog) : ::GetOpenFileNameW(&dialog);
    ::SetCurrentDirectoryW(folder.c_str());
    return chosen;
}

// The longest path the file functions take (with the \\?\ form).
constexpr DWORD kLongestPath = 32768;

int UsedCount(const std::vector<uint8_t>& image)
{
    int count = 0;
    for (uint8_t flag : HeaderOfImage(image.data()).used) count += flag == kSlotUsed;
    return count;
}

}  // namespace

bool CConfigDlg::AskFileName(FileKind kind, bool save, SystemPath& path)
{
    const bool profiles = kind == FileKind::kProfiles;
    std::wstring name(kLongestPath, L'\0');
    const std::wstring filter = FileFilter(profiles ? IDS_PROFILE_FILES : IDS_CONFIGURATION_FILES);
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = m_hWnd;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = kLongestPath;
    dialog.lpstrDefExt = profiles ? L"json" : L"bin";
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    if (!ShowFileDialog(dialog, save)) return false;
    path = name.c_str();
    return true;
}

void CConfigDlg::ExportProfile()
{
    const int pos = m_listProfiles.GetCurSel();
    SystemPath path;
    if (pos == LB_ERR || !AskFileName(FileKind::kProfiles, true, path)) return;
    StoreAndShow();  // the shown profile's edits go into the file
    const std::vector<uint8_t> image = m_link.Image();
    const std::vector<int> slots = {ProfileSlot(pos)};
    const std::string text = ProfileFileText(image.data(), slots);
    if (const FileOutcome written = WriteFileAtomically(path, {text.begin(), text.end()}); !written) {
        Tell(AfxFormatString(IDS_EXPORT_FAILED, {path, written.reason}), MB_OK | MB_ICONERROR);
        return;
    }
    const std::vector<std::string> warnings = NameWrittenByteForByteWarnings(image.data(), slots);
    if (!warnings.empty()) Tell(AfxFormatString(IDS_EXPORT_WARNING, {Lines(warnings)}), MB_OK | MB_ICONWARNING);
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
    SystemPath path;
    if (!AskFileName(FileKind::kProfiles, false, path)) return;
    std::vector<IncomingProfile> incoming;
    std::vector<ProfileProblem> problems;
    std::vector<uint8_t> image = ImageWithListedSlotsUsed();
    std::vector<Placement> placements;
    const FileOutcome read = ReadProfileFile(path, incoming, problems);
    if (!read) {
        Tell(AfxFormatString(IDS_IMPORT_REFUSED, {CannotReadText(path, read)}), MB_OK | MB_ICONERROR);
        return;
    }
    if (problems.empty()) problems = PlaceProfiles(image, incoming, false, placements);
    if (!problems.empty()) {
        Tell(AfxFormatString(IDS_IMPORT_REFUSED, {Lines(ProblemLines(problems, path))}), MB_OK | MB_ICONERROR);
        return;
    }
    if (placements.empty()) {
        Tell(AfxFormatString(IDS_IMPORT_EMPTY, {path}), MB_OK | MB_ICONINFORMATION);
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
    TakeStep(AfxLoadString(IDS_STEP_IMPORT));

    const std::vector<std::string> warnings = RepeatedKeyWarnings(image, placements);
    if (!warnings.empty()) Tell(AfxFormatString(IDS_IMPORT_WARNING, {Lines(warnings)}), MB_OK | MB_ICONWARNING);
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
    SystemPath path;
    if (!AskFileName(FileKind::kConfiguration, true, path)) return;
    StoreAndShow();  // the shown profile's edits go into the copy
    std::vector<uint8_t> image = m_link.Image();
    SettleActiveProfile(HeaderOfImage(image.data()));
    if (const FileOutcome written = WriteFileAtomically(path, image); !written)
        Tell(AfxFormatString(IDS_COPY_FAILED, {path, written.reason}), MB_OK | MB_ICONERROR);
}

void CConfigDlg::OpenCopy()
{
    SystemPath path;
    if (!AskFileName(FileKind::kConfiguration, false, path)) return;
    std::vector<uint8_t> image;
    std::string refusal;
    const FileOutcome read = ReadImageFile(path, image, refusal);
    if (!read) {
        Tell(AfxFormatString(IDS_COPY_REFUSED, {CannotReadText(path, read)}), MB_OK | MB_ICONERROR);
        return;
    }
    if (!refusal.empty()) {
        Tell(AfxFormatString(IDS_COPY_REFUSED, {WithFileName(AfxWideFromAnsi(refusal), path)}), MB_OK | MB_ICONERROR);
        return;
    }
    const std::wstring question =
        AfxFormatString(IDS_OPEN_COPY_QUESTION, {std::to_wstring(UsedCount(image)), path});
    if (Tell(question, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) return;
    m_link.ReplaceImage(image.data());
    ShowConfiguration();
    TakeStep(AfxLoadString(IDS_STEP_OPEN_COPY));
}

// The list anew from the link's image, as at start-up: the used profiles in slot order,
// the active one selected, marked and shown.
void CConfigDlg::ShowConfiguration()
{
    ClearList();
    m_bModified = 0;
    m_nShownItem = -1;
    ListUsedProfiles();
    GetDlgItem(IDC_ADD)->EnableWindow(m_listProfiles.GetCount() < kSlotCount);
}

void CConfigDlg::ClearList()
{
    for (int row = m_listProfiles.GetCount() - 1; row >= 0; --row) {
        m_listProfiles.RemoveItemMark(row, RowMark::kActive);
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
    systemMenu.AppendMenu(MF_STRING | MF_GRAYED, IDM_SAVE_COPY, AfxLoadString(IDS_SAVE_COPY_ITEM).c_str());
    systemMenu.AppendMenu(MF_STRING | MF_GRAYED, IDM_OPEN_COPY, AfxLoadString(IDS_OPEN_COPY_ITEM).c_str());
}

void CConfigDlg::EnableCopyItems()
{
    if (CMenu* systemMenu = GetSystemMenu(FALSE)) {
        for (UINT item : {IDM_SAVE_COPY, IDM_OPEN_COPY}) systemMenu->EnableMenuItem(item, MF_BYCOMMAND | MF_ENABLED);
    }
}
