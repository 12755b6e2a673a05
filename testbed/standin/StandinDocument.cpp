#include "testbed/standin/StandinDocument.h"

#include "testbed/standin/CallLog.h"
#include "testbed/standin/HtmlElement.h"

CStandinDocument::CStandinDocument(const std::wstring& strSource, const std::wstring& strCompatible,
                                   bool bComplete)
    : CStandinObject("document"), m_strCompatible(strCompatible),
      m_pPage(new CHtmlPage(strSource, strCompatible)), m_bComplete(bComplete) {}

void CStandinDocument::Update(const std::wstring& strSource, bool bComplete) {
    m_pPage.reset(new CHtmlPage(strSource, m_strCompatible));
    m_bComplete = bComplete;
}

HRESULT CStandinDocument::QueryInterface(REFIID riid, void** ppv) {
    IUnknown* pUnk = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
        IsEqualIID(riid, IID_IHTMLDocument) || IsEqualIID(riid, IID_IHTMLDocument2))
        pUnk = static_cast<IHTMLDocument2*>(this);
    else if (IsEqualIID(riid, IID_IHTMLDocument3))
        pUnk = static_cast<IHTMLDocument3*>(this);
    return Answer(riid, pUnk, ppv);
}

HRESULT CStandinDocument::Invoke(DISPID dispIdMember, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                 EXCEPINFO*, UINT*) {
    CCallLog::Write("unexpected call %s#%ld Invoke %ld", m_pszKind, m_nId, dispIdMember);
    return DISP_E_MEMBERNOTFOUND;
}

// Every document has a body (D test_defaults); a frameset page's is its
// FRAMESET, which is no IHTMLBodyElement (D frameset tests).
HRESULT CStandinDocument::get_body(IHTMLElement** p) {
    if (!p)
        return E_POINTER;
    *p = new CHtmlElement(m_pPage->BodyOuterHtml(), !m_pPage->IsFrameset());
    CCallLog::Write("%s#%ld get_body: %s, document mode %d", m_pszKind, m_nId,
                    m_pPage->IsFrameset() ? "frameset" : "body", m_pPage->DocumentMode());
    return S_OK;
}

HRESULT CStandinDocument::get_documentElement(IHTMLElement** p) {
    if (!p)
        return E_POINTER;
    *p = new CHtmlElement(m_pPage->OuterHtml(), false);
    CCallLog::Write("%s#%ld get_documentElement", m_pszKind, m_nId);
    return S_OK;
}

HRESULT CStandinDocument::get_readyState(BSTR* p) {
    if (!p)
        return E_POINTER;
    *p = SysAllocString(m_bComplete ? L"complete" : L"interactive");
    CCallLog::Write("%s#%ld get_readyState: %s", m_pszKind, m_nId,
                    m_bComplete ? "complete" : "interactive");
    return S_OK;
}
