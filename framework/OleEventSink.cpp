#include "framework/OleEventSink.h"

#include "framework/ComRefCount.h"
#include "framework/ComPtr.h"
#include "framework/Convert.h"

#include <cstddef>
#include <ocidl.h>

// The argument block as Invoke walks it: rgvarg steps by the size of a
// VARIANT, whose type sits first and whose value members share offset 8.
static_assert(offsetof(DISPPARAMS, rgvarg) == 0 &&
              offsetof(DISPPARAMS, cArgs) == 2 * sizeof(void*) &&
              sizeof(DISPPARAMS) == 2 * sizeof(void*) + 2 * sizeof(UINT));
static_assert(sizeof(VARIANT) == (sizeof(void*) == 4 ? 16 : 24) && offsetof(VARIANT, vt) == 0);
static_assert(offsetof(VARIANT, lVal) == 8 && offsetof(VARIANT, pdispVal) == 8 &&
              offsetof(VARIANT, ppdispVal) == 8 && offsetof(VARIANT, pvarVal) == 8 &&
              offsetof(VARIANT, plVal) == 8 && offsetof(VARIANT, pboolVal) == 8);
static_assert(sizeof(VARTYPE) == 2 && sizeof(VARIANT_BOOL) == 2 && sizeof(long) == 4);

BOOL COleEventSink::FindSourceIid(IUnknown* pControl, IID& iid) {
    CComPtr<IUnknown> control = pControl;
    CComPtr<IProvideClassInfo2> pInfo2;
    if (SUCCEEDED(control.QueryInterface(&pInfo2)) &&
        SUCCEEDED(pInfo2->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &iid)))
        return TRUE;

    // The coclass's default source interface, from its type information.
    CComPtr<IProvideClassInfo> pInfo;
    CComPtr<ITypeInfo> pClass;
    TYPEATTR* pAttr = nullptr;
    BOOL bFound = FALSE;
    if (SUCCEEDED(control.QueryInterface(&pInfo)) && SUCCEEDED(pInfo->GetClassInfo(&pClass)) &&
        SUCCEEDED(pClass->GetTypeAttr(&pAttr))) {
        for (UINT i = 0; i < pAttr->cImplTypes && !bFound; ++i) {
            INT flags = 0;
            HREFTYPE ref = 0;
            CComPtr<ITypeInfo> pSource;
            TYPEATTR* pSourceAttr = nullptr;
            if (FAILED(pClass->GetImplTypeFlags(i, &flags)) ||
                (flags & (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)) !=
                    (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE) ||
                FAILED(pClass->GetRefTypeOfImplType(i, &ref)) ||
                FAILED(pClass->GetRefTypeInfo(ref, &pSource)))
                continue;
            if (SUCCEEDED(pSource->GetTypeAttr(&pSourceAttr))) {
                iid = pSourceAttr->guid;
                bFound = TRUE;
                pSource->ReleaseTypeAttr(pSourceAttr);
            }
        }
        pClass->ReleaseTypeAttr(pAttr);
    }
    if (bFound)
        return TRUE;

    // Otherwise the control's first connection point.
    CComPtr<IConnectionPointContainer> pContainer;
    CComPtr<IEnumConnectionPoints> pEnum;
    CComPtr<IConnectionPoint> pPoint;
    return SUCCEEDED(control.QueryInterface(&pContainer)) &&
           SUCCEEDED(pContainer->EnumConnectionPoints(&pEnum)) &&
           pEnum->Next(1, &pPoint, nullptr) == S_OK &&
           SUCCEEDED(pPoint->GetConnectionInterface(&iid));
}

BOOL COleEventSink::Connect(IUnknown* pControl) {
    if (m_pConnPt != nullptr || !FindSourceIid(pControl, m_iid))
        return FALSE;
    CComPtr<IUnknown> control = pControl;
    CComPtr<IConnectionPointContainer> pContainer;
    CComPtr<IConnectionPoint> pPoint;
    if (FAILED(control.QueryInterface(&pContainer)) ||
        FAILED(pContainer->FindConnectionPoint(m_iid, &pPoint)) ||
        FAILED(pPoint->Advise(static_cast<IDispatch*>(this), &m_dwCookie)))
        return FALSE;
    m_pConnPt = pPoint;
    return TRUE;
}

void COleEventSink::Disconnect() {
    m_pOwner = nullptr;
    if (m_pConnPt == nullptr)
        return;
    CComPtr<IConnectionPoint> pPoint;
    pPoint.Attach(m_pConnPt.Detach());
    pPoint->Unadvise(m_dwCookie);
    m_dwCookie = 0;
}

namespace {

// The value of an argument of type vt, passed by value or by reference; NULL
// when it has another type.
const void* ValueOf(const VARIANT* pArg, VARTYPE vt) {
    if (pArg->vt == vt)
        return &pArg->lVal; // the union's first byte, whatever the member
    if (pArg->vt == (vt | VT_BYREF))
        return pArg->byref;
    return nullptr;
}

} // namespace

HRESULT COleEventSink::ConvertArgs(const char* pszParams, const DISPPARAMS* pParams, CArgs& args,
                                   UINT* puArgErr) {
    const size_t nCodes = std::strlen(pszParams);
    if (nCodes > kMaxArgs || pParams == nullptr || pParams->cArgs != nCodes ||
        (nCodes > 0 && pParams->rgvarg == nullptr))
        return DISP_E_BADPARAMCOUNT;
    for (size_t i = 0; i < nCodes; ++i) {
        const UINT nIndex = static_cast<UINT>(nCodes - 1 - i);
        VARIANT* pArg = &pParams->rgvarg[nIndex];
        const BYTE code = static_cast<BYTE>(pszParams[i]);
        // A variant passed by reference stands for the variant it points at.
        if (pArg->vt == (VT_VARIANT | VT_BYREF) && pArg->pvarVal != nullptr &&
            code != (VT_VARIANT | VT_MFCBYREF))
            pArg = pArg->pvarVal;
        CArg& arg = args.store[i];
        const void* pValue = nullptr;
        switch (code) {
        case VT_DISPATCH:
            if ((pValue = ValueOf(pArg, VT_DISPATCH)) != nullptr)
                arg.pdisp = *static_cast<IDispatch* const*>(pValue);
            break;
        case VT_DISPATCH | VT_MFCBYREF:
            if (pArg->vt == (VT_DISPATCH | VT_BYREF))
                pValue = arg.ppdisp = pArg->ppdispVal;
            break;
        case VT_VARIANT | VT_MFCBYREF:
            pValue = arg.pvar = pArg->vt == (VT_VARIANT | VT_BYREF) ? pArg->pvarVal : pArg;
            break;
        case VT_I4:
            if ((pValue = ValueOf(pArg, VT_I4)) != nullptr ||
                (pValue = ValueOf(pArg, VT_UI4)) != nullptr)
                arg.l = *static_cast<const long*>(pValue);
            break;
        case VT_BOOL:
            if ((pValue = ValueOf(pArg, VT_BOOL)) != nullptr)
                arg.b = *static_cast<const VARIANT_BOOL*>(pValue) != VARIANT_FALSE;
            break;
        case VT_BOOL | VT_MFCBYREF:
            if (pArg->vt == (VT_BOOL | VT_BYREF))
                pValue = arg.pbool = pArg->pboolVal;
            break;
        case VT_BSTR:
            if ((pValue = ValueOf(pArg, VT_BSTR)) != nullptr) {
                args.strings[i] = AfxW2A(*static_cast<const BSTR*>(pValue));
                arg.psz = args.strings[i];
            }
            break;
        default:
            break;
        }
        if (pValue == nullptr) {
            if (puArgErr != nullptr)
                *puArgErr = nIndex;
            return DISP_E_TYPEMISMATCH;
        }
        args.ppArgs[i] = &arg;
    }
    return S_OK;
}

STDMETHODIMP COleEventSink::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || (riid == m_iid && riid != IID_NULL)) {
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

AFX_IMPLEMENT_REFCOUNT(COleEventSink)

STDMETHODIMP COleEventSink::GetTypeInfoCount(UINT* pctinfo) {
    if (pctinfo != nullptr)
        *pctinfo = 0;
    return S_OK;
}

STDMETHODIMP COleEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) {
    if (ppTInfo != nullptr)
        *ppTInfo = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP COleEventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

STDMETHODIMP COleEventSink::Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* pParams, VARIANT*,
                                   EXCEPINFO*, UINT* puArgErr) {
    if (m_pOwner == nullptr)
        return S_OK;
    const AFX_EVENTSINKMAP_ENTRY* pEntry = m_pOwner->FindEventSinkEntry(m_nCtlId, dispid);
    if (pEntry == nullptr)
        return S_OK;
    CArgs args;
    HRESULT hr = ConvertArgs(pEntry->pszParams, pParams, args, puArgErr);
    if (FAILED(hr))
        return hr;
    AddRef(); // a handler may end the dialog and with it the connection
    pEntry->pfnThunk(m_pOwner, pEntry->pfn, args.ppArgs);
    Release();
    return S_OK;
}
