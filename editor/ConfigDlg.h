// CConfigDlg: the main window. It owns the adapter link, loads the configuration when it
// opens, lists the profiles, edits the selected one in its controls and writes the whole
// configuration back on OK. Cancel writes nothing.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "Afx.h"
#include "AdapterArrivalWatch.h"
#include "AdapterLink.h"
#include "AdapterLock.h"
#include "EditHistory.h"
#include "KeyNames.h"
#include "KeyboardLayout.h"
#include "KnownAdapterImages.h"
#include "MarkListBox.h"
#include "ScaledPictures.h"
#include "SystemPath.h"
#include "resource.h"

// The key boxes: 20 for the pad controls and the combination's.
inline bool IsKeyBox(int id) { return (id >= IDC_KEY_FIRST && id <= IDC_KEY_LAST) || id == IDC_COMBO_KEY; }

// Posted to the window when the adapter's interface has arrived.
constexpr UINT kAdapterArrivedMessage = WM_APP + 1;

class CConfigDlg : public CDialog {
public:
    // Talks to the adapter through `port`, holding `lock` for each load and save; names
    // keys as `layout` labels them; asks `dpiForWindow` (the system's GetDpiForWindow, null
    // where Windows has none) for the scale the window is shown at.
    CConfigDlg(AdapterPort& port, AdapterLock& lock, const KeyboardLayout& layout, CWnd* pParent = nullptr,
               DpiForWindowFunction dpiForWindow = SystemDpiForWindow());

    // Moves the controls into the shown record when they hold edits, then shows the record
    // of the selected entry.
    void StoreAndShow();

    void AddProfile();
    void RenameProfile();
    void DeleteProfile();
    void UseProfile();
    // The list's menu, its top left corner at `at` (screen coordinates).
    void ShowListMenu(POINT at);

    // Every edit since the load can be undone and redone, in order; neither talks to the
    // adapter: OK writes the window's state as it stands.
    void Undo();
    void Redo();

    // Profiles to and from JSON files, the whole configuration to and from an image file,
    // as vantorctl writes and reads them; they change only the window's copy.
    void ExportProfile();
    void ImportProfiles();
    void SaveCopy();
    void OpenCopy();

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    BOOL OnDeviceChange(UINT nEventType, DWORD_PTR dwData);
    void OnMouseMove(UINT nFlags, POINT point);
    void OnLogo();
    void OnControlEdited(UINT nID);
    void OnHScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar);
    LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnTellLoadBusy(WPARAM wParam, LPARAM lParam);
    LRESULT OnInputLanguageChanged(WPARAM wParam, LPARAM lParam);

    // Hands the logo's web address to the shell (tests watch it instead).
    virtual void OpenWebAddress();
    // Whether the system's high-contrast setting is on (tests set it: Wine never says so).
    virtual bool HighContrastOn() const;
    // The file a Save (`save`) or Open dialog gives for `kind`; false when it is
    // cancelled (tests give their own).
    enum class FileKind { kProfiles, kConfiguration };
    virtual bool AskFileName(FileKind kind, bool save, SystemPath& path);
    // Tells Windows why the session must not end now, or with null that it may again
    // (tests watch it instead).
    virtual void SetSessionEndReason(const wchar_t* reason);

    LRESULT OnAdapterArrived(WPARAM wParam, LPARAM lParam);
    LRESULT OnCtlColorEdit(WPARAM wParam, LPARAM lParam);
    LRESULT OnQueryEndSession(WPARAM wParam, LPARAM lParam);
    LRESULT OnSysColorChange(WPARAM wParam, LPARAM lParam);
    LRESULT OnSettingChange(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

    CSliderCtrl m_sliderSpeed;
    CMarkListBox m_listProfiles;
    HICON m_hIcon;
    CAdapterLink m_link;
    AdapterLock& m_lock;
    KnownAdapterImages m_known;  // what the adapter holds unless another program wrote to it
    BOOL m_bModified;
    uint8_t* m_pRecords;
    uint8_t* m_pUsed;
    int m_nShownItem;
    BOOL m_bAdapterPresent;   // found by the load; a failed save does not change it
    BOOL m_bShowing;          // the show phase is setting the controls: no edit of the user's
    CScaledPictures m_pictures{USER_DEFAULT_SCREEN_DPI};  // the ones the controls show
    DpiForWindowFunction m_dpiForWindow;
    BOOL m_bLoaded = FALSE;            // a whole configuration is in the window
    AdapterArrivalWatch m_arrivalWatch;
    unsigned m_repeatedKeyBoxes = 0;  // bit k: key box 1101 + k holds a key another box holds
    std::wstring m_keyBoxNames[kKeyBoxCount];  // as the template's labels name the key boxes
    const KeyboardLayout& m_layout;
    KeyNames m_keyNames;              // the key boxes' names, under the layout in use
    // What a key box holds: the adapter key code, and the position of the key pressed into
    // it (0 for a key read from a record), since two positions may share a code. The text
    // only shows it.
    struct KeyBoxKey {
        uint8_t code = 0;
        uint16_t position = 0;
    };
    std::array<KeyBoxKey, IDC_COMBO_KEY - IDC_KEY_FIRST + 1> m_keyBoxKeys{};  // by id - IDC_KEY_FIRST
    BOOL m_bNamingKey = FALSE;        // a key box's text is being set to its key's name
    WPARAM m_keyUpSwallowed = 0;      // a key whose press the window took, until it is let go
    // A modifier pressed in a key box with no other key down: taken when it is let go,
    // unless another key goes down meanwhile (a chord).
    struct HeldModifier {
        HWND box = nullptr;
        uint16_t position = 0;
        WPARAM virtualKey = 0;
        DWORD time = 0;
    } m_heldModifier;
    BOOL m_bWriting = FALSE;          // writing to the adapter: the session may not end now
    EditHistory m_history;            // the edits since the load
    bool m_speedGesture = false;      // the slider moved in a gesture that has not ended yet
    std::vector<uint8_t> m_adapterImage;  // what the adapter held when last read: OK writes what differs

private:
    enum class SaveOutcome { kSaved, kFailed, kBusy, kAdapterChanged };

    bool LoadUnderLock(bool& busy);
    SaveOutcome SaveUnlessChanged(std::vector<uint8_t>& stored);
    bool WriteHoldingSessionEnd(const std::vector<uint8_t>& stored);
    // A message box over the window; the button that closed it.
    int Tell(const std::wstring& text, UINT type);
    void AddAboutItem();
    void AddCopyItems(CMenu& systemMenu);
    void EnableCopyItems();
    void AdapterRemoved();
    void ShowConfiguration();
    void ClearList();
    int AddProfileRow(int slot);
    void SettleActiveProfile(ImageHeader& header) const;
    std::vector<uint8_t> ImageWithListedSlotsUsed();
    void MarkRepeatedKeys();
    void DrawRepeatedKeyMarks(HDC dc);
    void ReadKeyBoxNames();
    void NameRepeatedKeyBox(int box, bool repeated);
    RECT RepeatedKeyMarkRect(int box);
    void RedrawAll();
    void EnableEditing();
    void ListUsedProfiles();
    void ShowPicturesAt(UINT dpi);
    void ScaleListRows(UINT fromDpi, UINT toDpi);
    void StoreRecord(ProfileRecord& record);
    // The shown profile as the controls hold it, into `records` and its used flag in `used`.
    void StoreShown(uint8_t* records, uint8_t* used);
    uint8_t CheckedComboButtons() const;
    void ShowRecord(const ProfileRecord& record);
    void KeepRadioRowReachable(int firstButton);
    // The adapter key code that key box `id` holds; 0 for none.
    uint8_t KeyBoxCode(int id) const;
    // Key box `id` holding `key`, shown by its name.
    void SetKeyBox(int id, KeyBoxKey key);
    // Key box `id` showing the name of its key under the layout in use.
    void NameKeyBox(int id);
    // The user changed a key box's text by other means than a key press (a paste, a cut):
    // an emptied box holds no key; any other text gives way to the key's name again.
    void KeyBoxTextEdited(int id);
    void KeyBoxEdited(int id);
    int ProfileSlot(int item) const;
    ImageHeader& Header() { return m_link.HeaderFields(); }
    // Key messages, both plain and system ones; TRUE: the window took the key.
    BOOL KeyDown(const MSG* pMsg);
    BOOL KeyUp(const MSG* pMsg);
    BOOL KeyBoxKeyDown(const MSG* pMsg);
    void ModifierDown(const MSG* pMsg);
    BOOL ListKeyDown(const MSG* pMsg);
    // Key box `box` takes the key at `position`; a key the table lacks changes nothing.
    void TakeKey(HWND box, uint16_t position);
    uint16_t PressedPosition(const MSG* pMsg) const;
    POINT ListMenuCorner() const;
    void SwitchOffInputMethods();
    BOOL LeftButtonDown(const MSG* pMsg);
    BOOL ClickGated(const MSG* pMsg) const;
    BOOL RightButtonDown(const MSG* pMsg);
    BOOL IsLogoAt(POINT point) const;
    void MoveActiveMark(int markedRow);
    std::string RowName(int row) const;

    void StartHistory();
    // Ends an edit: the window's state becomes a step named `label`, unless nothing changed.
    void TakeStep(const std::wstring& label);
    void TakeStep(UINT labelId, const std::string& name);
    std::wstring ControlStepLabel(UINT nID) const;
    void EndSpeedGesture();
    BOOL EndsSpeedGesture(const MSG* pMsg) const;
    BOOL UndoRedoChord(const MSG* pMsg);
    void OnProfileSelected();
    EditSnapshot Snapshot();
    EditView View();
    ProfileRecord ControlsRecord();
    void Restore(const EditSnapshot& state);
    void NameUndoItems(CMenu& popup) const;
    // The rows that OK would write marked, and the line that counts them.
    void ShowPendingWrites();
    void CompareWithAdapterImage(const std::vector<uint8_t>& stored);
};
