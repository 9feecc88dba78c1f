// What OK would write, shown before it does: each row whose profile differs from what the
// adapter held when the window last read it carries the list's changed mark, and a line
// by the buttons counts the profiles that OK changes, adds and deletes, or says that it
// writes nothing. Undo brings a profile back and takes its mark away.
#include <cstring>

#include "ConfigDlg.h"
#include "resource.h"

namespace {

struct PendingWrites {
    int changed = 0;
    int added = 0;
    int deleted = 0;
    int freeSlots = 0;  // free before and after, with other bytes: a deleted new profile's
    bool activeChanged = false;
    bool headerChanged = false;
};

bool Used(const uint8_t* image, int slot) { return HeaderOfImage(image).used[slot] == kSlotUsed; }

bool RecordDiffers(const uint8_t* image, const uint8_t* stored, int slot)
{
    return std::memcmp(RecordOfSlot(image, slot), RecordOfSlot(stored, slot), kBlockSize) != 0;
}

PendingWrites CountPendingWrites(const uint8_t* image, const uint8_t* stored)
{
    PendingWrites pending;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const bool now = Used(image, slot);
        const bool before = Used(stored, slot);
        const bool differs = RecordDiffers(image, stored, slot);
        if (now && !before) ++pending.added;
        else if (!now && before) ++pending.deleted;
        else if (differs) ++(now ? pending.changed : pending.freeSlots);
    }
    pending.activeChanged = HeaderOfImage(image).activeProfile != HeaderOfImage(stored).activeProfile;
    pending.headerChanged = std::memcmp(&HeaderOfImage(image), &HeaderOfImage(stored), kBlockSize) != 0;
    return pending;
}

void AddPart(std::wstring& line, const std::wstring& part)
{
    if (!line.empty()) line += AfxLoadString(IDS_PENDING_SEPARATOR);
    line += part;
}

void AddCount(std::wstring& line, int count, UINT format)
{
    if (count > 0) AddPart(line, AfxFormatString(format, {std::to_wstring(count)}));
}

std::wstring PendingLine(const PendingWrites& pending)
{
    std::wstring parts;
    AddCount(parts, pending.changed, IDS_PENDING_CHANGED);
    AddCount(parts, pending.added, IDS_PENDING_ADDED);
    AddCount(parts, pending.deleted, IDS_PENDING_DELETED);
    if (pending.activeChanged) AddPart(parts, AfxLoadString(IDS_PENDING_ACTIVE));
    AddCount(parts, pending.freeSlots, IDS_PENDING_FREE);
    if (parts.empty() && pending.headerChanged) parts = AfxLoadString(IDS_PENDING_HEADER);
    return parts.empty() ? AfxLoadString(IDS_PENDING_NOTHING) : AfxFormatString(IDS_PENDING_LINE, {parts});
}

}  // namespace

// The current step's image, with the header OK would settle, against the adapter's.
void CConfigDlg::ShowPendingWrites()
{
    if (!m_history.Started() || m_adapterImage.size() != kImageSize) return;
    std::vector<uint8_t> image = m_history.Current().image;
    SettleActiveProfile(HeaderOfImage(image.data()));
    const uint8_t* stored = m_adapterImage.data();
    std::vector<bool> changedRows;
    for (int row = 0; row < m_listProfiles.GetCount(); ++row) {
        const int slot = ProfileSlot(row);
        changedRows.push_back(!Used(stored, slot) || RecordDiffers(image.data(), stored, slot));
    }
    m_listProfiles.MarkChangedRows(changedRows);
    ::SetDlgItemTextW(m_hWnd, IDC_PENDING_WRITES, PendingLine(CountPendingWrites(image.data(), stored)).c_str());
}

// A failed OK read the adapter again: what it held then is what OK's changes count from.
void CConfigDlg::CompareWithAdapterImage(const std::vector<uint8_t>& stored)
{
    if (stored.size() != kImageSize) return;
    m_adapterImage = stored;
    ShowPendingWrites();
}
