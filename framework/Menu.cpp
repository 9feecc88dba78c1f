#include "Menu.h"

#include "ResourceLanguage.h"
#include "TemporaryWrappers.h"
#include "Wnd.h"

namespace {

TemporaryWrappers<HMENU, CMenu, &CMenu::m_hMenu>& TemporaryMenus()
{
    static TemporaryWrappers<HMENU, CMenu, &CMenu::m_hMenu> menus;
    return menus;
}

}  // namespace

CMenu::~CMenu() { DestroyMenu(); }

BOOL CMenu::LoadMenu(UINT nIDResource)
{
    DestroyMenu();
    const void* menu = AfxLoadLocalizedResource(nIDResource, RT_MENU);
    m_hMenu = menu ? ::LoadMenuIndirectW(static_cast<const MENUTEMPLATEW*>(menu)) : nullptr;
    return m_hMenu != nullptr;
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu) return FALSE;
    const BOOL destroyed = ::DestroyMenu(m_hMenu);
    m_hMenu = nullptr;
    return destroyed;
}

CMenu* CMenu::GetSubMenu(int nPos) const { return FromHandle(::GetSubMenu(m_hMenu, nPos)); }

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable)
{
    return static_cast<UINT>(::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable));
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const wchar_t* pszNewItem)
{
    return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, pszNewItem);
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, const RECT* pRect)
{
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd->GetSafeHwnd(), pRect);
}

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    return hMenu ? TemporaryMenus().For(hMenu) : nullptr;
}

void CMenu::DeleteTempMap() { TemporaryMenus().Clear(); }
