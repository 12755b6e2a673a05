// CCmdTarget and message maps: a static table per class, chained to its base
// class's table, searched from the most derived class outwards.
#pragma once

#include "framework/WinTypes.h"

#include <cstdint>
#include <cstring>

#ifndef WM_COMMAND
#define WM_COMMAND 0x0111
#endif

class CCmdTarget;
typedef void (CCmdTarget::*AFX_PMSG)();

// Handler signatures; the window side knows how to call each.
enum AfxSig : unsigned {
    AfxSig_end = 0,
    AfxSig_vv,   // void ()
    AfxSig_vw,   // void (UINT)
    AfxSig_vwl,  // void (UINT, LPARAM)
    AfxSig_hv,   // HCURSOR ()
    AfxSig_is,   // int (LPCREATESTRUCT)
    AfxSig_bD,   // BOOL (CDC*)
    AfxSig_lp,   // LRESULT (CPoint)
    AfxSig_hDWw, // HBRUSH (CDC*, CWnd*, UINT)
    AfxSig_vwp,  // void (UINT, CPoint)
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage; // window message, or WM_COMMAND for command entries
    UINT nCode;    // notification code (commands)
    UINT nID;      // first control id (commands)
    UINT nLastID;  // last control id of the range
    unsigned nSig; // AfxSig
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

class CCmdTarget {
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // Routes a command (control id + notification code) through the map.
    // TRUE when a handler took it.
    virtual BOOL OnCmdMsg(UINT nID, int nCode);

    // First entry for a message (and, for WM_COMMAND, code and id), searching
    // the map chain from the given map outwards; NULL when none.
    static const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage,
                                                    UINT nCode, UINT nID);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                            \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                              \
        typedef theClass ThisClass;                                                                \
        typedef baseClass TheBaseClass;                                                            \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                          \
    { 0, 0, 0, 0, AfxSig_end, nullptr }                                                            \
    }                                                                                              \
    ;                                                                                              \
    static_cast<void>(sizeof(ThisClass));                                                          \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};  \
    return &messageMap;                                                                            \
    }

// Stores a handler of another signature in the table's generic pointer
// type; the dispatcher converts it back by the entry's AfxSig.
template <typename T> AFX_PMSG AfxMsgCast(T pfn) {
    static_assert(sizeof(T) == sizeof(AFX_PMSG), "member pointers of one size");
    AFX_PMSG pmsg;
    std::memcpy(&pmsg, &pfn, sizeof(pmsg));
    return pmsg;
}

// A handler of ThisClass with the given base-class signature.
#define AFX_MSG_CAST(sigType, fn) AfxMsgCast(static_cast<sigType>(fn))

#define AFX_CMD_ID(n) static_cast<UINT>(n)
#define AFX_CMD_FN(fn) static_cast<AFX_PMSG>(&ThisClass::fn)
#define ON_CONTROL(code, id, fn)                                                                   \
    {WM_COMMAND, AFX_CMD_ID(code), AFX_CMD_ID(id), AFX_CMD_ID(id), AfxSig_vv, AFX_CMD_FN(fn)},
#define ON_COMMAND(id, memberFxn) ON_CONTROL(0, id, memberFxn)

// Click notification of a notify-style static or of a button (code 0).
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(0, id, memberFxn)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(0, id, memberFxn)
