#include "tools/standin/HtmlDocument.h"

#include "tools/standin/CallLog.h"
#include "tools/standin/HtmlElement.h"

CHtmlDocument::CHtmlDocument(const std::wstring& strSource)
    : CStandinObject("document"), m_page(strSource) {}

HRESULT CHtmlDocument::QueryInterface(REFIID riid, void** ppv) {
    IUnknown* pUnk = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
        IsEqualIID(riid, IID_IHTMLDocument) || IsEqualIID(riid, IID_IHTMLDocument2))
        pUnk = static_cast<IHTMLDocument2*>(this);
    else if (IsEqualIID(riid, IID_IHTMLDocument3))
        pUnk = static_cast<IHTMLDocument3*>(this);
    return Answer(riid, pUnk, ppv);
}

HRESULT CHtmlDocument::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                              UINT*) {
    return DISP_E_MEMBERNOTFOUND;
}

// Every document has a body, as the browser makes one for a page without.
HRESULT CHtmlDocument::get_body(IHTMLElement** p) {
    if (!p)
        return E_POINTER;
    *p = new CHtmlElement(m_page.BodyOuterHtml(), true);
    CCallLog::Write("%s#%ld get_body", m_pszKind, m_nId);
    return S_OK;
}

HRESULT CHtmlDocument::get_documentElement(IHTMLElement** p) {
    if (!p)
        return E_POINTER;
    *p = new CHtmlElement(m_page.OuterHtml(), false);
    CCallLog::Write("%s#%ld get_documentElement", m_pszKind, m_nId);
    return S_OK;
}
