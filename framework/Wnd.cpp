#include "Wnd.h"

#include <unordered_map>

#include "Menu.h"
#include "TemporaryWrappers.h"

namespace {

// The message that the innermost attached window procedure is handling; Default() passes
// exactly this one on.
struct CurrentMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
CurrentMessage g_current = {};

std::unordered_map<HWND, CWnd*>& PermanentMap()
{
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

TemporaryWrappers<HWND, CWnd, &CWnd::m_hWnd>& TemporaryWindows()
{
    static TemporaryWrappers<HWND, CWnd, &CWnd::m_hWnd> windows;
    return windows;
}

}  // namespace

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
    if (!wnd) return ::DefWindowProcW(hWnd, message, wParam, lParam);
    const CurrentMessage outer = g_current;
    g_current = {message, wParam, lParam};
    LRESULT result = 0;
    // A handler's failure must not unwind through the system's code.
    try {
        result = wnd->WindowProc(message, wParam, lParam);
    } catch (...) {
        result = 0;
    }
    g_current = outer;
    if (message == WM_NCDESTROY) wnd->DetachDestroyed();
    return result;
}

CWnd::~CWnd()
{
    if (!m_hWnd) return;
    if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC)) == AfxWndProc)
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    PermanentMap().erase(m_hWnd);
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    const auto found = PermanentMap().find(hWnd);
    return found == PermanentMap().end() ? nullptr : found->second;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (!hWnd) return nullptr;
    if (CWnd* permanent = FromHandlePermanent(hWnd)) return permanent;
    return TemporaryWindows().For(hWnd);
}

void CWnd::DeleteTempMaps()
{
    TemporaryWindows().Clear();
    CMenu::DeleteTempMap();
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (hWnd && hWnd == m_hWnd) return TRUE;
    if (!hWnd || m_hWnd || FromHandlePermanent(hWnd)) return FALSE;
    m_hWnd = hWnd;
    PermanentMap()[hWnd] = this;
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
    return TRUE;
}

void CWnd::DetachDestroyed()
{
    PermanentMap().erase(m_hWnd);
    m_hWnd = nullptr;
    m_pfnSuper = nullptr;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (OnWndMsg(message, wParam, lParam, &result)) return result;
    return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
    case WM_COMMAND:
        return OnCmdMsg(LOWORD(wParam), HIWORD(wParam));
    case WM_DRAWITEM: {
        const auto* request = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (request->CtlType != ODT_MENU && ReflectToChild(request->hwndItem, message, wParam, lParam, pResult))
            return TRUE;
        break;
    }
    case WM_MEASUREITEM: {
        const auto* request = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
        if (request->CtlType != ODT_MENU &&
            ReflectToChild(::GetDlgItem(m_hWnd, static_cast<int>(request->CtlID)), message, wParam, lParam, pResult))
            return TRUE;
        break;
    }
    }
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, 0, 0);
    if (!entry) return FALSE;
    *pResult = CallHandler(*entry, wParam, lParam);
    return TRUE;
}

BOOL CWnd::ReflectToChild(HWND hWndChild, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    CWnd* child = FromHandlePermanent(hWndChild);
    return child && child->OnChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return FALSE; }

LRESULT CWnd::Default()
{
    return ::CallWindowProcW(m_pfnSuper, m_hWnd, g_current.message, g_current.wParam, g_current.lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

CWnd* CWnd::GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
BOOL CWnd::EnableWindow(BOOL bEnable) { return ::EnableWindow(m_hWnd, bEnable); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
BOOL CWnd::ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }
void CWnd::SetWindowText(const char* pszText) { ::SetWindowTextA(m_hWnd, pszText); }
void CWnd::SetDlgItemText(int nID, const char* pszText) { ::SetDlgItemTextA(m_hWnd, nID, pszText); }

UINT CWnd::GetDlgItemText(int nID, char* pszText, int nMaxCount) const
{
    return ::GetDlgItemTextA(m_hWnd, nID, pszText, nMaxCount);
}

void CWnd::CheckDlgButton(int nID, UINT nCheck) { ::CheckDlgButton(m_hWnd, nID, nCheck); }
UINT CWnd::IsDlgButtonChecked(int nID) const { return ::IsDlgButtonChecked(m_hWnd, nID); }

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendDlgItemMessageA(m_hWnd, nID, message, wParam, lParam);
}

CWnd* CWnd::GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious) const
{
    return FromHandle(::GetNextDlgTabItem(m_hWnd, pWndCtl ? pWndCtl->m_hWnd : nullptr, bPrevious));
}

CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* CWnd::ChildWindowFromPoint(POINT point) const { return FromHandle(::ChildWindowFromPoint(m_hWnd, point)); }
CMenu* CWnd::GetSystemMenu(BOOL bRevert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert)); }
void CWnd::GetClientRect(RECT* pRect) const { ::GetClientRect(m_hWnd, pRect); }
void CWnd::InvalidateRect(const RECT* pRect, BOOL bErase) { ::InvalidateRect(m_hWnd, pRect, bErase); }
BOOL CWnd::SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
