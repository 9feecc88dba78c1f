#include "Menu.h"

#include <memory>
#include <unordered_map>

#include "WinApp.h"
#include "Wnd.h"

namespace {

std::unordered_map<HMENU, std::unique_ptr<CMenu>>& TemporaryMenus()
{
    static std::unordered_map<HMENU, std::unique_ptr<CMenu>> menus;
    return menus;
}

}  // namespace

CMenu::~CMenu() { DestroyMenu(); }

BOOL CMenu::LoadMenu(UINT nIDResource)
{
    DestroyMenu();
    const char* name = MAKEINTRESOURCEA(nIDResource);
    m_hMenu = ::LoadMenuA(AfxFindResourceHandle(name, RT_MENU), name);
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

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const char* pszNewItem)
{
    return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, pszNewItem);
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, const RECT* pRect)
{
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd->GetSafeHwnd(), pRect);
}

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    if (!hMenu) return nullptr;
    std::unique_ptr<CMenu>& temporary = TemporaryMenus()[hMenu];
    if (!temporary) {
        temporary = std::make_unique<CMenu>();
        temporary->m_hMenu = hMenu;
    }
    return temporary.get();
}

void CMenu::DeleteTempMap()
{
    // The wrapped menus are not the wrappers' to destroy.
    for (auto& entry : TemporaryMenus()) entry.second->m_hMenu = nullptr;
    TemporaryMenus().clear();
}
