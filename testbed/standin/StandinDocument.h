// A stand-in document: the page as loaded, giving its body and root element.
#pragma once
#include "html/HtmlPage.h"
#include "testbed/standin/StandinObject.h"
#include "testbed/standin/Stubs.h"

class CStandinDocument : public CStandinObject,
                         public CHTMLDocument2Stub,
                         public CHTMLDocument3Stub {
public:
    CStandinDocument(const std::wstring& strSource, const std::wstring& strCompatible);

    const CHtmlPage& Page() const { return m_page; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    QEL_STANDIN_REFCOUNT()
    QEL_STANDIN_NO_TYPEINFO()
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override;

    HRESULT STDMETHODCALLTYPE get_body(IHTMLElement** p) override;
    HRESULT STDMETHODCALLTYPE get_documentElement(IHTMLElement** p) override;

private:
    const CHtmlPage m_page;
};
