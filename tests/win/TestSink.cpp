#include "tests/win/TestSink.h"

#include <exdisp.h>

namespace {

// The address a by-reference variant holds.
std::wstring UrlOf(const VARIANT& arg) {
    const VARIANT* pUrl = arg.vt == (VT_VARIANT | VT_BYREF) ? arg.pvarVal : &arg;
    return pUrl && pUrl->vt == VT_BSTR && pUrl->bstrVal ? pUrl->bstrVal : L"";
}

} // namespace

CTestSink::~CTestSink() {
    Clear();
}

void CTestSink::Clear() {
    for (CEvent& event : m_vecEvents) {
        if (event.pDisp)
            event.pDisp->Release();
    }
    m_vecEvents.clear();
}

HRESULT CTestSink::QueryInterface(REFIID riid, void** ppv) {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
        IsEqualIID(riid, DIID_DWebBrowserEvents2)) {
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG CTestSink::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&m_nRef));
}

ULONG CTestSink::Release() {
    const LONG n = InterlockedDecrement(&m_nRef);
    if (n == 0)
        delete this;
    return static_cast<ULONG>(n);
}

HRESULT CTestSink::GetTypeInfoCount(UINT* pctinfo) {
    *pctinfo = 0;
    return S_OK;
}

// DocumentComplete (259): pDisp and URL, last argument first.
HRESULT CTestSink::Invoke(DISPID dispIdMember, REFIID, LCID, WORD, DISPPARAMS* pParams, VARIANT*,
                          EXCEPINFO*, UINT*) {
    CFired fired = {dispIdMember, ""};
    for (UINT i = pParams->cArgs; i > 0; --i) {
        const VARIANT& arg = pParams->rgvarg[i - 1];
        fired.strTypes += (fired.strTypes.empty() ? "" : " ") + std::to_string(arg.vt);
        if (arg.vt == (VT_VARIANT | VT_BYREF) && arg.pvarVal)
            fired.strTypes += ">" + std::to_string(arg.pvarVal->vt);
    }
    m_vecFired.push_back(fired);
    if (dispIdMember == 250 && pParams->cArgs == 7 &&
        pParams->rgvarg[0].vt == (VT_BOOL | VT_BYREF) &&
        (m_bCancelNavigation || (m_cancelIf && m_cancelIf(UrlOf(pParams->rgvarg[5])))))
        *pParams->rgvarg[0].pboolVal = VARIANT_TRUE;
    // NewWindow3(&ppDisp, &Cancel, dwFlags, bstrUrlContext, bstrUrl).
    if (dispIdMember == 273 && m_onNewWindow && pParams->cArgs == 5 &&
        pParams->rgvarg[4].vt == (VT_DISPATCH | VT_BYREF))
        *pParams->rgvarg[4].ppdispVal = m_onNewWindow();
    if (dispIdMember != 259)
        return S_OK;
    CEvent event = {nullptr, L"", VT_EMPTY, pParams->cArgs};
    if (pParams->cArgs == 2) {
        const VARIANT& disp = pParams->rgvarg[1];
        const VARIANT& url = pParams->rgvarg[0];
        if (disp.vt == VT_DISPATCH && disp.pdispVal) {
            event.pDisp = disp.pdispVal;
            event.pDisp->AddRef();
        }
        event.vtUrl = url.vt;
        event.strUrl = UrlOf(url);
    }
    m_vecEvents.push_back(event);
    if (m_onDocumentComplete)
        m_onDocumentComplete(event);
    return S_OK;
}
