// An element of a stand-in document: its outer HTML; the body also takes the
// scroll attribute.
#pragma once
#include "testbed/standin/StandinObject.h"
#include "testbed/standin/Stubs.h"

#include <string>

class CHtmlElement : public CStandinObject, public CHTMLElementStub, public CHTMLBodyElementStub {
public:
    CHtmlElement(const std::wstring& strOuterHtml, bool bBody);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    QEL_STANDIN_REFCOUNT()
    QEL_STANDIN_NO_TYPEINFO()
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override;

    HRESULT STDMETHODCALLTYPE get_outerHTML(BSTR* p) override;
    HRESULT STDMETHODCALLTYPE put_scroll(BSTR v) override;

private:
    const std::wstring m_strOuterHtml;
    const bool m_bBody;
};
