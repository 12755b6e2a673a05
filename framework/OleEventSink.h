// COleEventSink: the dispatch interface a hosted control fires its events
// into. Each event is looked up (control id, dispatch id) in the owner's
// event sink map and, when its arguments match the entry's parameter codes,
// passed to the handler; anything else is ignored.
#pragma once

#include "framework/CmdTarget.h"
#include "framework/ComPtr.h"
#include "framework/String.h"

#include <ocidl.h>
#include <ole2.h>

class COleEventSink : public IDispatch {
public:
    COleEventSink(CCmdTarget* pOwner, UINT nCtlId) : m_pOwner(pOwner), m_nCtlId(nCtlId) {}

    // Connects to the control's default source interface. FALSE when it has none.
    BOOL Connect(IUnknown* pControl);
    // Cuts the connection and stops delivering events to the owner.
    void Disconnect();

    static const size_t kMaxArgs = 16;
    // The handler's arguments: ppArgs[i] points at the i-th, held in store[i]
    // (a string as ANSI text in strings[i]).
    union CArg {
        IDispatch* pdisp;
        IDispatch** ppdisp;
        VARIANT* pvar;
        long l;
        BOOL b;
        VARIANT_BOOL* pbool;
        LPCTSTR psz;
    };
    struct CArgs {
        CArg store[kMaxArgs] = {};
        CString strings[kMaxArgs];
        void* ppArgs[kMaxArgs] = {};
    };
    // Converts DISPPARAMS (arguments in reverse order) to the types the codes
    // name: S_OK, DISP_E_BADPARAMCOUNT or DISP_E_TYPEMISMATCH (puArgErr: index
    // in DISPPARAMS). A by-reference argument whose value a handler may set
    // (VTS_PDISPATCH, VTS_PBOOL, VTS_PVARIANT) points at the caller's.
    static HRESULT ConvertArgs(const char* pszParams, const DISPPARAMS* pParams, CArgs& args,
                               UINT* puArgErr);

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* pParams, VARIANT*,
                        EXCEPINFO*, UINT* puArgErr) override;

private:
    virtual ~COleEventSink() = default;
    static BOOL FindSourceIid(IUnknown* pControl, IID& iid);

    LONG m_cRef = 1;
    CCmdTarget* m_pOwner;
    UINT m_nCtlId;
    IID m_iid = IID_NULL;
    CComPtr<IConnectionPoint> m_pConnPt;
    DWORD m_dwCookie = 0;
};
