// Message map macros. A class declares its map with DECLARE_MESSAGE_MAP() and defines it
// between BEGIN_MESSAGE_MAP(theClass, baseClass) and END_MESSAGE_MAP(), one entry macro per
// handled message:
//
//     BEGIN_MESSAGE_MAP(CConfigDlg, CDialog)
//         ON_WM_PAINT()
//         ON_BN_CLICKED(IDC_ADD, &CConfigDlg::AddProfile)
//     END_MESSAGE_MAP()
#pragma once

#include "CmdTarget.h"

#define DECLARE_MESSAGE_MAP()                                   \
protected:                                                      \
    static const AFX_MSGMAP* GetThisMessageMap();               \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                         \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                    \
    {                                                                                  \
        using ThisClass = theClass;                                                    \
        using TheBaseClass = baseClass;                                                \
        static_assert(sizeof(ThisClass) >= sizeof(TheBaseClass));                      \
        static const AFX_MSGMAP_ENTRY messageEntries[] = {

#define END_MESSAGE_MAP()                                                           \
            {0, 0, 0, 0, AfxSig_end, nullptr}};                                     \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, messageEntries}; \
        return &messageMap;                                                         \
    }

// Stores a handler of the given type as the map's generic handler pointer.
template <typename Function>
using AfxHandler = Function CCmdTarget::*;
#define AFX_MAP_HANDLER(type, memberFxn) reinterpret_cast<AFX_PMSG>(static_cast<AfxHandler<type>>(memberFxn))

#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, 0, static_cast<UINT>(id), static_cast<UINT>(id), AfxSig_vv, static_cast<AFX_PMSG>(memberFxn)},
#define ON_CONTROL(code, id, memberFxn)                                                           \
    {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), AfxSig_vv, \
     static_cast<AFX_PMSG>(memberFxn)},
// One handler for a notification from any control of the IDs first to last; it gets the ID.
#define ON_CONTROL_RANGE(code, first, last, memberFxn)                                                \
    {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(first), static_cast<UINT>(last), AfxSig_vw, \
     AFX_MAP_HANDLER(void(UINT), memberFxn)},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)

#define ON_MESSAGE(message, memberFxn) \
    {message, 0, 0, 0, AfxSig_lwl, AFX_MAP_HANDLER(LRESULT(WPARAM, LPARAM), memberFxn)},

#define ON_WM_SYSCOMMAND() \
    {WM_SYSCOMMAND, 0, 0, 0, AfxSig_vwl, AFX_MAP_HANDLER(void(UINT, LPARAM), &ThisClass::OnSysCommand)},
#define ON_WM_PAINT() \
    {WM_PAINT, 0, 0, 0, AfxSig_vv, AFX_MAP_HANDLER(void(), &ThisClass::OnPaint)},
#define ON_WM_QUERYDRAGICON() \
    {WM_QUERYDRAGICON, 0, 0, 0, AfxSig_hv, AFX_MAP_HANDLER(HCURSOR(), &ThisClass::OnQueryDragIcon)},
#define ON_WM_DEVICECHANGE() \
    {WM_DEVICECHANGE, 0, 0, 0, AfxSig_bwd, AFX_MAP_HANDLER(BOOL(UINT, DWORD_PTR), &ThisClass::OnDeviceChange)},
#define ON_WM_MOUSEMOVE() \
    {WM_MOUSEMOVE, 0, 0, 0, AfxSig_vwp, AFX_MAP_HANDLER(void(UINT, POINT), &ThisClass::OnMouseMove)},
#define ON_WM_HSCROLL() \
    {WM_HSCROLL, 0, 0, 0, AfxSig_vwwW, AFX_MAP_HANDLER(void(UINT, UINT, CWnd*), &ThisClass::OnHScroll)},
#define ON_WM_LBUTTONDOWN() \
    {WM_LBUTTONDOWN, 0, 0, 0, AfxSig_vwp, AFX_MAP_HANDLER(void(UINT, POINT), &ThisClass::OnLButtonDown)},
#define ON_WM_LBUTTONUP() \
    {WM_LBUTTONUP, 0, 0, 0, AfxSig_vwp, AFX_MAP_HANDLER(void(UINT, POINT), &ThisClass::OnLButtonUp)},
