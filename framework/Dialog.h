// CDialog: a dialog from a template in the program's resources, run modally by a message
// loop of its own. Every message of that loop passes PreTranslateMessage before the
// dialog manager sees it. Enter, Esc, the close box and buttons 1 and 2 reach OnOK and
// OnCancel unless the message map handles them.
#pragma once

#include "DataExchange.h"
#include "Wnd.h"

class CDialog : public CWnd {
public:
    // The template nIDTemplate in the program's shown language (ResourceLanguage.h).
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Runs the dialog until EndDialog; returns its code, or -1 when it cannot be created.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // The dialog manager's keyboard handling (Tab, Enter, Esc, mnemonics).
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode) override;

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    DECLARE_MESSAGE_MAP()

private:
    friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);

    HWND OwnerWindow() const;
    BOOL HandleInitDialog();
    void CenterOverOwner();
    void RunModalLoop();

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    HWND m_hWndOwner = nullptr;
    bool m_bInModalLoop = false;
    INT_PTR m_nModalResult = -1;
};
