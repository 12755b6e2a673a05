#include "testbed/standin/ClassFactory.h"

#include "testbed/standin/StandinBrowser.h"

namespace {
LONG g_nLocks = 0;
}

CClassFactory::CClassFactory() : CStandinObject("class-factory") {}

LONG CClassFactory::Locks() {
    return InterlockedCompareExchange(&g_nLocks, 0, 0);
}

HRESULT CClassFactory::QueryInterface(REFIID riid, void** ppv) {
    const bool bOwn = IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory);
    return Answer(riid, bOwn ? static_cast<IClassFactory*>(this) : nullptr, ppv);
}

HRESULT CClassFactory::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (pUnkOuter)
        return CLASS_E_NOAGGREGATION;
    IWebBrowser2* pBrowser = new CStandinBrowser();
    const HRESULT hr = pBrowser->QueryInterface(riid, ppv);
    pBrowser->Release();
    return hr;
}

HRESULT CClassFactory::LockServer(BOOL fLock) {
    if (fLock)
        InterlockedIncrement(&g_nLocks);
    else
        InterlockedDecrement(&g_nLocks);
    return S_OK;
}
