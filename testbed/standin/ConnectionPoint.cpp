#include "testbed/standin/ConnectionPoint.h"

#include <exdisp.h>

CConnectionPoint::CConnectionPoint(IConnectionPointContainer* pContainer, CBrowserEvents& events)
    : CStandinObject("connection-point"), m_pContainer(pContainer), m_events(events) {
    m_pContainer->AddRef();
}

CConnectionPoint::~CConnectionPoint() {
    m_pContainer->Release();
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
    *ppCPC = m_pContainer;
    m_pContainer->AddRef();
    return S_OK;
}

HRESULT CConnectionPoint::Advise(IUnknown* pUnkSink, DWORD* pdwCookie) {
    return m_events.Add(pUnkSink, pdwCookie);
}

HRESULT CConnectionPoint::Unadvise(DWORD dwCookie) {
    return m_events.Remove(dwCookie);
}
