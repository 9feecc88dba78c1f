// CWnd: a C++ object attached to a window. Attached windows have their messages routed
// through the object's message map; whatever the map does not handle gets the window's
// original processing. Windows that no object owns are reached through temporary
// wrappers (FromHandle).
#pragma once

#include <windows.h>

#include "MessageMap.h"

class CMenu;

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    ~CWnd() override;

    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const { return m_hWnd; }
    // The object attached to the window, or a temporary wrapper that stays valid until the
    // outermost modal loop waits for its next message. Null for a null handle.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Attaches the object to an existing window and routes its messages through the map.
    BOOL SubclassWindow(HWND hWnd);

    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL ShowWindow(int nCmdShow);
    BOOL IsIconic() const;
    void SetWindowText(const char* pszText);
    void SetDlgItemText(int nID, const char* pszText);
    UINT GetDlgItemText(int nID, char* pszText, int nMaxCount) const;
    void CheckDlgButton(int nID, UINT nCheck);
    UINT IsDlgButtonChecked(int nID) const;
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    CWnd* GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const;
    CWnd* SetFocus();
    CWnd* ChildWindowFromPoint(POINT point) const;
    CMenu* GetSystemMenu(BOOL bRevert) const;
    void GetClientRect(RECT* pRect) const;
    void InvalidateRect(const RECT* pRect, BOOL bErase = TRUE);
    BOOL SetForegroundWindow();

    // Hands the message being handled right now to the window's original processing.
    LRESULT Default();

    // Sees every message of a modal loop before it is dispatched; TRUE swallows it.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    // Drops the temporary wrappers handed out by FromHandle and CMenu::FromHandle.
    static void DeleteTempMaps();

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // A parent's owner-draw and notification messages for this control. TRUE: handled.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

private:
    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);

    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL ReflectToChild(HWND hWndChild, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    void DetachDestroyed();

    WNDPROC m_pfnSuper = nullptr;  // the window's procedure before it was attached
};

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
