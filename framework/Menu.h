// CMenu: a menu handle. A menu loaded from the resources belongs to its object and is
// destroyed with it; menus reached through FromHandle belong to the system or their window.
#pragma once

#include <windows.h>

class CWnd;

class CMenu {
public:
    CMenu() = default;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    ~CMenu();

    HMENU m_hMenu = nullptr;

    // Menu nIDResource in the program's shown language (ResourceLanguage.h).
    BOOL LoadMenu(UINT nIDResource);
    BOOL DestroyMenu();
    CMenu* GetSubMenu(int nPos) const;
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, const wchar_t* pszNewItem = nullptr);
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, const RECT* pRect = nullptr);

    // A temporary wrapper for a menu that no object owns; null for a null handle.
    static CMenu* FromHandle(HMENU hMenu);
    static void DeleteTempMap();
};
