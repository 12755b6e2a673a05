// The DWebBrowserEvents2 connection point of a stand-in browser. The sinks
// live in the browser; this object only passes Advise and Unadvise on.
#pragma once
#include "tools/standin/StandinObject.h"
#include "tools/standin/Stubs.h"

#include <ocidl.h>

class CStandinBrowser;

class CConnectionPoint : public CStandinObject, public CConnectionPointStub {
public:
    explicit CConnectionPoint(CStandinBrowser& browser);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    QEL_STANDIN_REFCOUNT()
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* pIID) override;
    HRESULT STDMETHODCALLTYPE
    GetConnectionPointContainer(IConnectionPointContainer** ppCPC) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* pUnkSink, DWORD* pdwCookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD dwCookie) override;

private:
    ~CConnectionPoint() override;
    CStandinBrowser& m_browser; // held by a reference count
};
