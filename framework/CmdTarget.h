// CCmdTarget and message maps: a static table per class, chained to its base
// class's table, searched from the most derived class outwards.
#pragma once

#include "framework/WinTypes.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

#ifndef WM_COMMAND
#define WM_COMMAND 0x0111
#endif

class CCmdTarget;
struct CRuntimeClass;
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

// Calls an event handler; ppArgs[i] points at the i-th argument, already
// converted to the type of the handler's i-th parameter.
typedef void (*AFX_EVENTTHUNK)(CCmdTarget* pTarget, AFX_PMSG pfn, void* const* ppArgs);

// Event sink entries: an event (dispatch id) of a hosted control (control
// id), the codes of its parameters (VTS_...) and its handler.
struct AFX_EVENTSINKMAP_ENTRY {
    UINT nCtlId;
    long dispid;
    const char* pszParams;
    AFX_PMSG pfn;
    AFX_EVENTTHUNK pfnThunk; // NULL ends the table
};

struct AFX_EVENTSINKMAP {
    const AFX_EVENTSINKMAP* (*pfnGetBaseMap)();
    const AFX_EVENTSINKMAP_ENTRY* lpEntries;
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

    // First sink-map entry for an event of a control, searching the chain
    // from this object's map outwards; NULL when none.
    const AFX_EVENTSINKMAP_ENTRY* FindEventSinkEntry(UINT nCtlId, long dispid) const;

    static const CRuntimeClass classCCmdTarget;
    virtual const CRuntimeClass* GetRuntimeClass() const;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
    static const AFX_EVENTSINKMAP* GetThisEventSinkMap();
    virtual const AFX_EVENTSINKMAP* GetEventSinkMap() const;
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

// Parameter codes of event handlers and automation calls (concatenated): a
// VARTYPE in one byte, VT_MFCBYREF set for an argument passed by reference.
#define VT_MFCBYREF 0x40
#define VTS_NONE ""
#define VTS_I4 "\x03"
#define VTS_BSTR "\x08"
#define VTS_DISPATCH "\x09"
#define VTS_BOOL "\x0B"
#define VTS_PDISPATCH "\x49"
#define VTS_PBOOL "\x4B"
#define VTS_PVARIANT "\x4C"

#define DECLARE_EVENTSINK_MAP()                                                                    \
protected:                                                                                         \
    static const AFX_EVENTSINKMAP* GetThisEventSinkMap();                                          \
    const AFX_EVENTSINKMAP* GetEventSinkMap() const override;

#define BEGIN_EVENTSINK_MAP(theClass, baseClass)                                                   \
    const AFX_EVENTSINKMAP* theClass::GetEventSinkMap() const {                                    \
        return GetThisEventSinkMap();                                                              \
    }                                                                                              \
    const AFX_EVENTSINKMAP* theClass::GetThisEventSinkMap() {                                      \
        typedef baseClass TheBaseSinkClass;                                                        \
        static const AFX_EVENTSINKMAP_ENTRY _eventEntries[] = {

#define END_EVENTSINK_MAP()                                                                        \
    { 0, 0, nullptr, nullptr, nullptr }                                                            \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_EVENTSINKMAP eventMap = {&TheBaseSinkClass::GetThisEventSinkMap,              \
                                              &_eventEntries[0]};                                  \
    return &eventMap;                                                                              \
    }

template <class C, class... A, size_t... I>
void AfxCallEventHandler(CCmdTarget* pTarget, void (C::*pfn)(A...), void* const* ppArgs,
                         std::index_sequence<I...>) {
    (static_cast<C*>(pTarget)->*pfn)(*static_cast<A*>(ppArgs[I])...);
}

template <class C, class... A>
void AfxEventThunk(CCmdTarget* pTarget, AFX_PMSG pfn, void* const* ppArgs) {
    void (C::*pfnHandler)(A...);
    std::memcpy(&pfnHandler, &pfn, sizeof(pfnHandler));
    AfxCallEventHandler(pTarget, pfnHandler, ppArgs, std::index_sequence_for<A...>{});
}

// The thunk of a handler with nCodes parameter codes.
template <size_t nCodes, class C, class... A> AFX_EVENTTHUNK AfxEventThunkOf(void (C::*)(A...)) {
    static_assert(nCodes == sizeof...(A), "one parameter code per handler parameter");
    return &AfxEventThunk<C, A...>;
}

#define AFX_EVENT_ENTRY(id, dispid, fn, vts)                                                       \
    {AFX_CMD_ID(id), dispid, vts, AfxMsgCast(fn), AfxEventThunkOf<sizeof(vts) - 1>(fn)},
#define ON_EVENT(theClass, id, dispid, pfnHandler, vtsParams)                                      \
    AFX_EVENT_ENTRY(id, dispid, &theClass::pfnHandler, vtsParams)
