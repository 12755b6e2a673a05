// A stand-in document: the page as loaded so far, giving its body, root
// element and ready state ("interactive" while the page arrives, then
// "complete").
#pragma once
#include "html/HtmlPage.h"
#include "testbed/standin/StandinObject.h"
#include "testbed/standin/Stubs.h"

class CStandinDocument : public CStandinObject,
                         public CHTMLDocument2Stub,
                         public CHTMLDocument3Stub {
public:
    CStandinDocument(const std::wstring& strSource, const std::wstring& strCompatible,
                     bool bComplete = true);

    const CHtmlPage& Page() const { return *m_pPage; }
    // The page as it now stands: more of it has arrived, or all of it.
    void Update(const std::wstring& strSource, bool bComplete);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    QEL_STANDIN_REFCOUNT()
    QEL_STANDIN_NO_TYPEINFO()
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override;

    HRESULT STDMETHODCALLTYPE get_body(IHTMLElement** p) override;
    HRESULT STDMETHODCALLTYPE get_documentElement(IHTMLElement** p) override;
    HRESULT STDMETHODCALLTYPE get_readyState(BSTR* p) override;

private:
    const std::wstring m_strCompatible;
    std::unique_ptr<CHtmlPage> m_pPage;
    bool m_bComplete;
};
