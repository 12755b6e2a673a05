#include "tests/win/TestSite.h"

CTestSite::CTestSite(HWND hwndParent, const RECT& rcPos, IUnknown* pDocHost)
    : m_hwndParent(hwndParent), m_rcPos(rcPos), m_pDocHost(pDocHost) {
    if (m_pDocHost)
        m_pDocHost->AddRef();
}

CTestSite::~CTestSite() {
    if (m_pDocHost)
        m_pDocHost->Release();
}

HRESULT CTestSite::QueryInterface(REFIID riid, void** ppv) {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleClientSite))
        *ppv = static_cast<IOleClientSite*>(this);
    else if (IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IOleInPlaceSite))
        *ppv = static_cast<IOleInPlaceSite*>(this);
    else if (m_pDocHost)
        return m_pDocHost->QueryInterface(riid, ppv);
    else
        *ppv = nullptr;
    if (!*ppv)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG CTestSite::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&m_nRef));
}

ULONG CTestSite::Release() {
    const LONG n = InterlockedDecrement(&m_nRef);
    if (n == 0)
        delete this;
    return static_cast<ULONG>(n);
}

HRESULT CTestSite::GetWindow(HWND* phwnd) {
    *phwnd = m_hwndParent;
    return S_OK;
}

HRESULT CTestSite::OnInPlaceActivate() {
    ++m_nActivations;
    return S_OK;
}

HRESULT CTestSite::GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
                                    LPRECT lprcPosRect, LPRECT lprcClipRect,
                                    LPOLEINPLACEFRAMEINFO) {
    *ppFrame = nullptr;
    *ppDoc = nullptr;
    *lprcPosRect = m_rcPos;
    *lprcClipRect = m_rcPos;
    return S_OK;
}

HRESULT CTestSite::OnInPlaceDeactivate() {
    ++m_nDeactivations;
    return S_OK;
}
