#include "testbed/standin/HtmlElement.h"

#include "testbed/standin/CallLog.h"

CHtmlElement::CHtmlElement(const std::wstring& strOuterHtml, bool bBody)
    : CStandinObject(bBody ? "body" : "element"), m_strOuterHtml(strOuterHtml), m_bBody(bBody) {}

HRESULT CHtmlElement::QueryInterface(REFIID riid, void** ppv) {
    IUnknown* pUnk = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
        IsEqualIID(riid, IID_IHTMLElement))
        pUnk = static_cast<IHTMLElement*>(this);
    else if (m_bBody && IsEqualIID(riid, IID_IHTMLBodyElement))
        pUnk = static_cast<IHTMLBodyElement*>(this);
    return Answer(riid, pUnk, ppv);
}

HRESULT CHtmlElement::Invoke(DISPID dispIdMember, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                             EXCEPINFO*, UINT*) {
    CCallLog::Write("unexpected call %s#%ld Invoke %ld", m_pszKind, m_nId, dispIdMember);
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT CHtmlElement::get_outerHTML(BSTR* p) {
    if (!p)
        return E_POINTER;
    *p = SysAllocStringLen(m_strOuterHtml.data(), static_cast<UINT>(m_strOuterHtml.size()));
    CCallLog::Write("%s#%ld get_outerHTML: %u characters", m_pszKind, m_nId,
                    static_cast<unsigned>(m_strOuterHtml.size()));
    return S_OK;
}

HRESULT CHtmlElement::put_scroll(BSTR v) {
    CCallLog::Write("%s#%ld put_scroll %s", m_pszKind, m_nId, CCallLog::Utf8(v).c_str());
    return S_OK;
}
