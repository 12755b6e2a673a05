#include "testbed/standin/FrameBrowser.h"

#include "testbed/standin/CallLog.h"
#include "testbed/standin/StandinDocument.h"
#include "web/WebBrowserDispid.h"

namespace {
const DISPID kDispidDocument = DISPID_WEBBROWSER_DOCUMENT;
}

CFrameBrowser::CFrameBrowser(const char* pszKind) : CStandinObject(pszKind) {}

CFrameBrowser::~CFrameBrowser() {
    SetDocument(nullptr);
}

void CFrameBrowser::SetDocument(CStandinDocument* pDocument) {
    if (pDocument)
        pDocument->AddRef();
    if (m_pDocument)
        m_pDocument->Release();
    m_pDocument = pDocument;
}

HRESULT CFrameBrowser::QueryInterface(REFIID riid, void** ppv) {
    IUnknown* pUnk = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
        IsEqualIID(riid, IID_IWebBrowser) || IsEqualIID(riid, IID_IWebBrowserApp) ||
        IsEqualIID(riid, IID_IWebBrowser2))
        pUnk = static_cast<IWebBrowser2*>(this);
    return Answer(riid, pUnk, ppv);
}

HRESULT CFrameBrowser::Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags, DISPPARAMS*,
                              VARIANT* pVarResult, EXCEPINFO*, UINT*) {
    if (dispIdMember != kDispidDocument || !(wFlags & DISPATCH_PROPERTYGET)) {
        CCallLog::Write("unexpected call %s#%ld Invoke %ld", m_pszKind, m_nId, dispIdMember);
        return DISP_E_MEMBERNOTFOUND;
    }
    IDispatch* pDocument = nullptr;
    get_Document(&pDocument);
    if (pVarResult) {
        VariantInit(pVarResult);
        if (pDocument) {
            pVarResult->vt = VT_DISPATCH;
            pVarResult->pdispVal = pDocument;
            return S_OK;
        }
    } else if (pDocument) {
        pDocument->Release();
    }
    return S_OK;
}

HRESULT CFrameBrowser::get_Document(IDispatch** ppDisp) {
    if (!ppDisp)
        return E_POINTER;
    *ppDisp = m_pDocument ? static_cast<IHTMLDocument2*>(m_pDocument) : nullptr;
    if (*ppDisp)
        (*ppDisp)->AddRef();
    CCallLog::Write("%s#%ld Document: %s", m_pszKind, m_nId, m_pDocument ? "yes" : "none");
    return S_OK;
}
