// CConfigDlg: the main window. It owns the adapter link, loads the configuration when it
// opens, lists the profiles, edits the selected one in its controls and writes the whole
// configuration back on OK. Cancel writes nothing.
#pragma once

#include "Afx.h"
#include "AdapterLink.h"
#include "AdapterLock.h"
#include "KnownAdapterImages.h"
#include "MarkListBox.h"
#include "ScaledPictures.h"

class CConfigDlg : public CDialog {
public:
    // Talks to the adapter through `port`, holding `lock` for each load and save.
    CConfigDlg(AdapterPort& port, AdapterLock& lock, CWnd* pParent = nullptr);

    // Moves the controls into the shown record when they hold edits, then shows the record
    // of the selected entry.
    void StoreAndShow();

    void AddProfile();
    void RenameProfile();
    void DeleteProfile();
    void UseProfile();
    void ShowListMenu(const MSG* pMsg);

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

    // Hands the logo's web address to the shell (tests watch it instead).
    virtual void OpenWebAddress();

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
    COLORREF m_crActiveMark;  // red for the profile active at start-up, blue once Use ran
    BOOL m_bAdapterPresent;   // found by the load; a failed save does not change it
    BOOL m_bShowing;          // the show phase is setting the controls: no edit of the user's
    CScaledPictures m_pictures{USER_DEFAULT_SCREEN_DPI};  // the ones the controls show

private:
    enum class SaveOutcome { kSaved, kFailed, kBusy, kAdapterChanged };

    bool LoadUnderLock(bool& busy);
    SaveOutcome SaveUnlessChanged(std::vector<uint8_t>& stored);
    // A message box over the window; the button that closed it.
    int Tell(const char* text, UINT type);
    void AddAboutItem();
    void EnableEditing();
    void ListUsedProfiles();
    void ShowPicturesAt(UINT dpi);
    void ScaleListRows(UINT fromDpi, UINT toDpi);
    void StoreRecord(ProfileRecord& record);
    void ShowRecord(const ProfileRecord& record);
    int ProfileSlot(int item) const;
    ImageHeader& Header() { return m_link.HeaderFields(); }
    BOOL KeyDown(const MSG* pMsg);
    BOOL LeftButtonDown(const MSG* pMsg);
    BOOL ClickGated(const MSG* pMsg) const;
    BOOL RightButtonDown(const MSG* pMsg);
    BOOL IsLogoAt(POINT point) const;
    void MoveActiveMark(int markedRow);
};
