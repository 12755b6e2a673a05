// The class object of the stand-in browser.
#pragma once
#include "testbed/standin/StandinObject.h"
#include "testbed/standin/Stubs.h"

#include <unknwn.h>

class CClassFactory : public CStandinObject, public CClassFactoryStub {
public:
    CClassFactory();

    // Server locks held through LockServer.
    static LONG Locks();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    QEL_STANDIN_REFCOUNT()
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL fLock) override;
};
