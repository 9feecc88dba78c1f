#include "CmdTarget.h"

// Before windowsx.h, whose SubclassWindow macro would rename a member of CWnd.
#include "Wnd.h"

#include <windowsx.h>

namespace {

template <typename Handler>
Handler HandlerAs(AFX_PMSG pfn)
{
    return reinterpret_cast<Handler>(pfn);
}

}  // namespace

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY noEntries[] = {{0, 0, 0, 0, AfxSig_end, nullptr}};
    static const AFX_MSGMAP messageMap = {nullptr, noEntries};
    return &messageMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->nSig != AfxSig_end; ++entry) {
            if (entry->nMessage == nMessage && entry->nCode == nCode && entry->nID <= nID && nID <= entry->nLastID)
                return entry;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode)
{
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(WM_COMMAND, static_cast<UINT>(nCode), nID);
    if (!entry) return FALSE;
    CallHandler(*entry, nID, 0);
    return TRUE;
}

LRESULT CCmdTarget::CallHandler(const AFX_MSGMAP_ENTRY& entry, WPARAM wParam, LPARAM lParam)
{
    switch (entry.nSig) {
    case AfxSig_vv:
        (this->*entry.pfn)();
        return 0;
    case AfxSig_vwl:
        (this->*HandlerAs<void (CCmdTarget::*)(UINT, LPARAM)>(entry.pfn))(static_cast<UINT>(wParam), lParam);
        return 0;
    case AfxSig_hv:
        return reinterpret_cast<LRESULT>((this->*HandlerAs<HCURSOR (CCmdTarget::*)()>(entry.pfn))());
    case AfxSig_bwd:
        return (this->*HandlerAs<BOOL (CCmdTarget::*)(UINT, DWORD_PTR)>(entry.pfn))(static_cast<UINT>(wParam),
                                                                                      static_cast<DWORD_PTR>(lParam));
    case AfxSig_vwp: {
        const POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        (this->*HandlerAs<void (CCmdTarget::*)(UINT, POINT)>(entry.pfn))(static_cast<UINT>(wParam), point);
        return 0;
    }
    case AfxSig_vw:
        (this->*HandlerAs<void (CCmdTarget::*)(UINT)>(entry.pfn))(static_cast<UINT>(wParam));
        return 0;
    case AfxSig_vwwW:
        (this->*HandlerAs<void (CCmdTarget::*)(UINT, UINT, CWnd*)>(entry.pfn))(
            LOWORD(wParam), HIWORD(wParam), CWnd::FromHandle(reinterpret_cast<HWND>(lParam)));
        return 0;
    case AfxSig_lwl:
        return (this->*HandlerAs<LRESULT (CCmdTarget::*)(WPARAM, LPARAM)>(entry.pfn))(wParam, lParam);
    case AfxSig_end:
        break;
    }
    return 0;
}
