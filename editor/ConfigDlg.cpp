#include "ConfigDlg.h"

#include "resource.h"

namespace {

constexpr int kEditingButtons[] = {IDC_ADD, IDC_DELETE, IDC_USE, IDOK};

// Posted by the start-up when the load found the adapter busy: it arrives once the window
// shows, so that the message box stands over the window.
constexpr UINT kTellLoadBusyMessage = WM_APP;

// Shows the wait cursor while the adapter transfer of its scope blocks the window.
class WaitCursor {
public:
    WaitCursor() : m_previous(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(m_previous); }

private:
    HCURSOR m_previous;
};

// Releases the adapter when the window's talk with it ends, however it ends.
class AdapterReleasedAtEnd {
public:
    explicit AdapterReleasedAtEnd(CAdapterLink& link) : m_link(link) {}
    ~AdapterReleasedAtEnd() { m_link.ReleaseAdapter(); }
    AdapterReleasedAtEnd(const AdapterReleasedAtEnd&) = delete;
    AdapterReleasedAtEnd& operator=(const AdapterReleasedAtEnd&) = delete;

private:
    CAdapterLink& m_link;
};

}  // namespace

BEGIN_MESSAGE_MAP(CConfigDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_DELETE, &CConfigDlg::DeleteProfile)
    ON_COMMAND(ID_MENU_DELETE, &CConfigDlg::DeleteProfile)
    ON_LBN_SELCHANGE(IDC_PROFILE_LIST, &CConfigDlg::OnProfileSelected)
    ON_BN_CLICKED(IDC_ADD, &CConfigDlg::AddProfile)
    ON_COMMAND(ID_MENU_ADD, &CConfigDlg::AddProfile)
    ON_LBN_DBLCLK(IDC_PROFILE_LIST, &CConfigDlg::RenameProfile)
    ON_COMMAND(ID_MENU_MODIFY, &CConfigDlg::RenameProfile)
    ON_BN_CLICKED(IDC_USE, &CConfigDlg::UseProfile)
    ON_COMMAND(ID_MENU_USE, &CConfigDlg::UseProfile)
    ON_COMMAND(ID_MENU_EXPORT, &CConfigDlg::ExportProfile)
    ON_COMMAND(ID_MENU_IMPORT, &CConfigDlg::ImportProfiles)
    ON_COMMAND(ID_MENU_UNDO, &CConfigDlg::Undo)
    ON_COMMAND(ID_MENU_REDO, &CConfigDlg::Redo)
    ON_WM_DEVICECHANGE()
    ON_MESSAGE(kAdapterArrivedMessage, &CConfigDlg::OnAdapterArrived)
    ON_MESSAGE(WM_CTLCOLOREDIT, &CConfigDlg::OnCtlColorEdit)
    ON_MESSAGE(WM_SYSCOLORCHANGE, &CConfigDlg::OnSysColorChange)
    ON_MESSAGE(WM_SETTINGCHANGE, &CConfigDlg::OnSettingChange)
    ON_STN_CLICKED(IDC_LOGO, &CConfigDlg::OnLogo)
    ON_WM_MOUSEMOVE()
    ON_CONTROL_RANGE(EN_CHANGE, IDC_KEY_FIRST, IDC_COMBO_KEY, &CConfigDlg::OnControlEdited)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_AXIS_MODE, IDC_AXIS_MODE, &CConfigDlg::OnControlEdited)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_COMBO_FIRST, IDC_MIDDLE_FIRST + kPadButtonCount - 1, &CConfigDlg::OnControlEdited)
    ON_WM_HSCROLL()
    ON_MESSAGE(WM_DPICHANGED, &CConfigDlg::OnDpiChanged)
    ON_MESSAGE(kTellLoadBusyMessage, &CConfigDlg::OnTellLoadBusy)
    ON_MESSAGE(WM_INPUTLANGCHANGE, &CConfigDlg::OnInputLanguageChanged)
    ON_MESSAGE(WM_QUERYENDSESSION, &CConfigDlg::OnQueryEndSession)
END_MESSAGE_MAP()

CConfigDlg::CConfigDlg(AdapterPort& port, AdapterLock& lock, const KeyboardLayout& layout, CWnd* pParent,
                       DpiForWindowFunction dpiForWindow)
    : CDialog(IDD_CONFIG_DIALOG, pParent),
      m_hIcon(LoadIconA(AfxFindResourceHandle(MAKEINTRESOURCEA(IDR_MAINFRAME), RT_GROUP_ICON),
                        MAKEINTRESOURCEA(IDR_MAINFRAME))),
      m_link(port),
      m_lock(lock),
      m_bModified(0),
      m_pRecords(nullptr),
      m_pUsed(nullptr),
      m_nShownItem(-1),
      m_bAdapterPresent(FALSE),
      m_bShowing(FALSE),
      m_dpiForWindow(dpiForWindow),
      m_layout(layout),
      m_keyNames(layout)
{
}

void CConfigDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SPEED, m_sliderSpeed);
    DDX_Control(pDX, IDC_PROFILE_LIST, m_listProfiles);
}

BOOL CConfigDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    AddAboutItem();
    m_arrivalWatch.Start(m_hWnd);
    m_sliderSpeed.SetRange(kMinSpeed, kMaxSpeed, FALSE);
    ReadKeyBoxNames();
    SwitchOffInputMethods();
    m_keyNames = KeyNames(m_layout);
    m_bModified = 0;
    m_nShownItem = -1;
    bool busy = false;
    const bool loaded = LoadUnderLock(busy);
    m_bAdapterPresent = m_link.Handle() != kInvalidAdapterHandle;
    if (loaded) EnableEditing();
    if (m_pRecords) ListUsedProfiles();
    if (loaded) StartHistory();
    ShowPicturesAt(WindowDpi(m_hWnd, m_dpiForWindow));
    if (busy) ::PostMessageA(m_hWnd, kTellLoadBusyMessage, 0, 0);
    return TRUE;
}

LRESULT CConfigDlg::OnTellLoadBusy(WPARAM, LPARAM)
{
    Tell(AfxLoadString(IDS_LOAD_BUSY), MB_OK | MB_ICONWARNING);
    return 0;
}

// A load that finds the adapter busy leaves the window as a failed load does: empty, with
// editing off. The window holds the adapter open only while it loads or saves.
bool CConfigDlg::LoadUnderLock(bool& busy)
{
    WaitCursor wait;
    AdapterLockHold hold(m_lock);
    AdapterReleasedAtEnd released(m_link);
    busy = !hold.Held();
    if (busy) {
        m_pRecords = m_link.Records();
        return false;
    }
    if (!m_link.LoadConfig(&m_pRecords)) return false;
    m_known.Read(m_link.Image());
    return true;
}

// The editing buttons and the adapter picture, and the defaults that stay in the
// controls when no profile gets shown.
void CConfigDlg::EnableEditing()
{
    m_bLoaded = TRUE;
    EnableCopyItems();
    for (int id : kEditingButtons) GetDlgItem(id)->EnableWindow(TRUE);
    GetDlgItem(IDC_USB)->ShowWindow(SW_SHOW);
    CheckDlgButton(IDC_COMBO_FIRST + kPadL1, BST_CHECKED);
    CheckDlgButton(IDC_RIGHT_FIRST + kPadL1, BST_CHECKED);
    CheckDlgButton(IDC_LEFT_FIRST + kPadA, BST_CHECKED);
    CheckDlgButton(IDC_MIDDLE_FIRST + kPadB, BST_CHECKED);
}

void CConfigDlg::ListUsedProfiles()
{
    m_pUsed = Header().used;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (m_pUsed[slot] != kSlotUsed) continue;
        const int pos = AddProfileRow(slot);
        if (Header().activeProfile == slot) {
            m_listProfiles.SetCurSel(pos);
            m_listProfiles.SetItemMark(pos, RowMark::kActive);
            StoreAndShow();
        }
    }
    if (m_listProfiles.GetCount() >= kSlotCount) GetDlgItem(IDC_ADD)->EnableWindow(FALSE);
}

void CConfigDlg::OnOK()
{
    StoreAndShow();
    SettleActiveProfile(Header());
    // A failed save keeps the window and its edits, so that OK can be tried again. The
    // question is asked without the lock: another program need not wait for the answer. A
    // "Yes" accepts what the adapter held then; should it change again meanwhile, it is
    // asked again.
    for (;;) {
        std::vector<uint8_t> stored;
        const SaveOutcome outcome = SaveUnlessChanged(stored);
        // A window that stays keeps its history and counts OK's changes from what was read.
        if (outcome != SaveOutcome::kSaved) CompareWithAdapterImage(stored);
        switch (outcome) {
        case SaveOutcome::kSaved: CDialog::OnOK(); return;
        case SaveOutcome::kFailed: Tell(AfxLoadString(IDS_SAVE_FAILED), MB_OK | MB_ICONERROR); return;
        case SaveOutcome::kBusy: Tell(AfxLoadString(IDS_SAVE_BUSY), MB_OK | MB_ICONWARNING); return;
        case SaveOutcome::kAdapterChanged:
            if (Tell(AfxLoadString(IDS_OVERWRITE_QUESTION), MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES) return;
            m_known.Read(stored);
        }
    }
}

// Under the lock: reads what the adapter holds now and writes the image only when that is
// what this window read or wrote itself, leaving it in `stored`. Only the blocks that
// differ from `stored` are written; the adapter acknowledges no write, so a save has
// failed too when a block does not read back as written (after the link's whole write).
CConfigDlg::SaveOutcome CConfigDlg::SaveUnlessChanged(std::vector<uint8_t>& stored)
{
    WaitCursor wait;
    AdapterLockHold hold(m_lock);
    AdapterReleasedAtEnd released(m_link);
    if (!hold.Held()) return SaveOutcome::kBusy;
    if (!m_link.ReadStoredImage(stored)) {
        stored.clear();
        return SaveOutcome::kFailed;
    }
    const std::vector<uint8_t> image = m_link.Image();
    if (!m_known.Explain(stored, image)) return SaveOutcome::kAdapterChanged;
    const bool saved = WriteHoldingSessionEnd(stored);
    m_known.SaveTried(image, m_link.SentHalves());
    return saved ? SaveOutcome::kSaved : SaveOutcome::kFailed;
}

// The window answers the system while it writes, so the session could end between a
// write packet and its other half, or before the header: a record half old and half new,
// or new records under the old header. Windows is asked to wait, and told why, until the
// write and its read-back end (at most about 1.3 s).
bool CConfigDlg::WriteHoldingSessionEnd(const std::vector<uint8_t>& stored)
{
    m_bWriting = TRUE;
    SetSessionEndReason(AfxLoadString(IDS_WRITING_REASON).c_str());
    const bool saved = m_link.SaveChanges(stored);
    SetSessionEndReason(nullptr);
    m_bWriting = FALSE;
    return saved;
}

LRESULT CConfigDlg::OnQueryEndSession(WPARAM, LPARAM) { return m_bWriting ? FALSE : Default(); }

void CConfigDlg::SetSessionEndReason(const wchar_t* reason)
{
    if (reason)
        ShutdownBlockReasonCreate(m_hWnd, reason);
    else
        ShutdownBlockReasonDestroy(m_hWnd);
}

int CConfigDlg::Tell(const std::wstring& text, UINT type)
{
    return MessageBoxW(m_hWnd, text.c_str(), AfxLoadString(IDS_MESSAGE_CAPTION).c_str(), type);
}

int CConfigDlg::ProfileSlot(int item) const { return static_cast<int>(m_listProfiles.GetItemData(item)); }
