#include "framework/OleControlContainer.h"

#include "framework/ComRefCount.h"
#include "framework/EnumUnknown.h"
#include "framework/OleControlSite.h"

namespace {
LONG g_nLiveContainers = 0;
} // namespace

COleControlContainer::COleControlContainer(CWnd* pWnd) : m_pWnd(pWnd) {
    ::InterlockedIncrement(&g_nLiveContainers);
}

COleControlContainer::~COleControlContainer() {
    CloseAll();
    ::InterlockedDecrement(&g_nLiveContainers);
}

LONG COleControlContainer::GetLiveCount() {
    return ::InterlockedExchangeAdd(&g_nLiveContainers, 0);
}

COleControlSite* COleControlContainer::CreateControl(REFCLSID clsid, LPCTSTR lpszWindowName,
                                                     DWORD dwStyle, const RECT& rect, UINT nID,
                                                     const BYTE* pInitData, ULONG cbInitData) {
    if (m_pWnd == nullptr)
        return nullptr;
    COleControlSite* pSite = new COleControlSite(this);
    if (!pSite->CreateControl(clsid, lpszWindowName, dwStyle, rect, nID, pInitData, cbInitData)) {
        pSite->Release();
        return nullptr;
    }
    m_sites.push_back(pSite);
    return pSite;
}

COleControlSite* COleControlContainer::FindItem(HWND hWnd) const {
    for (COleControlSite* pSite : m_sites) {
        if (hWnd != nullptr && pSite->GetHwnd() == hWnd)
            return pSite;
    }
    return nullptr;
}

BOOL COleControlContainer::PreTranslateInput(MSG* pMsg) const {
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST)
        return FALSE;
    if ((pMsg->message == WM_KEYDOWN || pMsg->message == WM_KEYUP) && pMsg->wParam == VK_ESCAPE)
        return FALSE;
    for (COleControlSite* pSite : m_sites) {
        HWND hWndCtrl = pSite->GetHwnd();
        if (hWndCtrl != nullptr && (pMsg->hwnd == hWndCtrl || ::IsChild(hWndCtrl, pMsg->hwnd)))
            return pSite->PreTranslateInput(pMsg);
    }
    return FALSE;
}

void COleControlContainer::CloseAll() {
    std::vector<COleControlSite*> sites;
    sites.swap(m_sites);
    m_pSiteFocus = nullptr;
    for (COleControlSite* pSite : sites) {
        pSite->Close();
        pSite->Release();
    }
}

void COleControlContainer::Detach() {
    CloseAll();
    m_pWnd = nullptr;
}

STDMETHODIMP COleControlContainer::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IParseDisplayName && riid != IID_IOleContainer)
        return E_NOINTERFACE;
    *ppv = static_cast<IOleContainer*>(this);
    AddRef();
    return S_OK;
}

AFX_IMPLEMENT_REFCOUNT(COleControlContainer)

STDMETHODIMP COleControlContainer::ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*,
                                                    IMoniker** ppmkOut) {
    if (ppmkOut != nullptr)
        *ppmkOut = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP COleControlContainer::EnumObjects(DWORD grfFlags, IEnumUnknown** ppenum) {
    if (ppenum == nullptr)
        return E_POINTER;
    std::vector<IUnknown*> objects;
    if (grfFlags & OLECONTF_EMBEDDINGS) {
        for (COleControlSite* pSite : m_sites) {
            if (IUnknown* pUnk = pSite->GetControlUnknown())
                objects.push_back(pUnk);
        }
    }
    *ppenum = new CEnumUnknown(objects);
    return S_OK;
}

STDMETHODIMP COleControlContainer::LockContainer(BOOL fLock) {
    if (fLock)
        AddRef();
    else
        Release();
    return S_OK;
}
