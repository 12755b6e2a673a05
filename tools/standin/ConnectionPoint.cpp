#include "tools/standin/ConnectionPoint.h"

#include "tools/standin/StandinBrowser.h"

#include <exdisp.h>

CConnectionPoint::CConnectionPoint(CStandinBrowser& browser)
    : CStandinObject("connection-point"), m_browser(browser) {
    m_browser.AddRef();
}

CConnectionPoint::~CConnectionPoint() {
    m_browser.Release();
}

HRESULT CConnectionPoint::QueryInterface(REFIID riid, void** ppv) {
    const bool bOwn = IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IConnectionPoint);
    return Answer(riid, bOwn ? static_cast<IConnectionPoint*>(this) : nullptr, ppv);
}

HRESULT CConnectionPoint::GetConnectionInterface(IID* pIID) {
    if (!pIID)
        return E_POINTER;
    *pIID = DIID_DWebBrowserEvents2;
    return S_OK;
}

HRESULT CConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** ppCPC) {
    if (!ppCPC)
        return E_POINTER;
    *ppCPC = &m_browser;
    m_browser.AddRef();
    return S_OK;
}

HRESULT CConnectionPoint::Advise(IUnknown* pUnkSink, DWORD* pdwCookie) {
    return m_browser.AddSink(pUnkSink, pdwCookie);
}

HRESULT CConnectionPoint::Unadvise(DWORD dwCookie) {
    return m_browser.RemoveSink(dwCookie);
}
