// The DWebBrowserEvents2 connection point of a stand-in browser. The sinks
// live in the browser's event list; this object only passes Advise and
// Unadvise on, and holds a reference on its container meanwhile.
#pragma once
#include "testbed/standin/BrowserEvents.h"
#include "testbed/standin/StandinObject.h"
#include "testbed/standin/Stubs.h"

#include <ocidl.h>

class CConnectionPoint : public CStandinObject, public CConnectionPointStub {
public:
    // events belongs to pContainer, which outlives this object.
    CConnectionPoint(IConnectionPointContainer* pContainer, CBrowserEvents& events);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    QEL_STANDIN_REFCOUNT()
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* pIID) override;
    HRESULT STDMETHODCALLTYPE
    GetConnectionPointContainer(IConnectionPointContainer** ppCPC) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* pUnkSink, DWORD* pdwCookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD dwCookie) override;

private:
    ~CConnectionPoint() override;
    IConnectionPointContainer* m_pContainer; // one reference held
    CBrowserEvents& m_events;
};
