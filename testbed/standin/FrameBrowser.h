// The browser object of a frame, and the base of the top-level browser: the
// Document property (dispatch id 203 and IWebBrowser2::get_Document).
#pragma once
#include "testbed/standin/StandinObject.h"
#include "testbed/standin/Stubs.h"

#include <string>

class CStandinDocument;

class CFrameBrowser : public CStandinObject, public CWebBrowser2Stub {
public:
    explicit CFrameBrowser(const char* pszKind = "frame");

    // Takes a reference to pDocument (may be NULL), releasing the one held.
    void SetDocument(CStandinDocument* pDocument);
    CStandinDocument* Document() const { return m_pDocument; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    QEL_STANDIN_REFCOUNT()
    QEL_STANDIN_NO_TYPEINFO()
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                     DISPPARAMS* pDispParams, VARIANT* pVarResult,
                                     EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

    HRESULT STDMETHODCALLTYPE get_Document(IDispatch** ppDisp) override;

protected:
    ~CFrameBrowser() override;

private:
    CStandinDocument* m_pDocument = nullptr;
};
