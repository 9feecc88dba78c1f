// CCmdTarget: the base of every object that handles messages through a message map.
// A map is a table of entries, one per handled message or command, chained to the map of
// the base class; lookup walks the class's own entries first, then the base's.
#pragma once

#include <windows.h>

class CCmdTarget;

// A handler as stored in a map entry; the entry's signature says how to call it.
using AFX_PMSG = void (CCmdTarget::*)();

enum AfxSig : UINT {
    AfxSig_end,    // closes a table
    AfxSig_vv,     // void f()
    AfxSig_vwl,    // void f(UINT, LPARAM)
    AfxSig_hv,     // HCURSOR f()
    AfxSig_bwd,    // BOOL f(UINT, DWORD_PTR)
    AfxSig_vwp,    // void f(UINT, POINT)
    AfxSig_vw,     // void f(UINT): a range of commands, called with the command's ID
    AfxSig_vwwW,   // void f(UINT, UINT, CWnd*): scrolling, from a scroll bar or a slider
    AfxSig_lwl,    // LRESULT f(WPARAM, LPARAM): any message, its parameters as they come
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // window message
    UINT nCode;     // notification code, for WM_COMMAND
    UINT nID;       // control or command ID, for WM_COMMAND
    UINT nLastID;   // the last ID of a range of them; nID otherwise
    AfxSig nSig;
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    // Runs the handler of a command (menu item, button, notification), if the map has one.
    virtual BOOL OnCmdMsg(UINT nID, int nCode);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const;
    // Calls the entry's handler with the message's parameters; returns the message result.
    LRESULT CallHandler(const AFX_MSGMAP_ENTRY& entry, WPARAM wParam, LPARAM lParam);
};
