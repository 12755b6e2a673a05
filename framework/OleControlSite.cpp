#include "framework/OleControlSite.h"

#include "framework/OleEventSink.h"
#include "framework/Wnd.h"

#include <olectl.h>

#include <cstring>

namespace {

// Pixels to HIMETRIC (0.01 mm) at the screen's resolution.
SIZEL PixelsToHimetric(int cx, int cy) {
    HDC hdc = ::GetDC(nullptr);
    const int dpiX = ::GetDeviceCaps(hdc, LOGPIXELSX);
    const int dpiY = ::GetDeviceCaps(hdc, LOGPIXELSY);
    ::ReleaseDC(nullptr, hdc);
    return SIZEL{::MulDiv(cx, 2540, dpiX > 0 ? dpiX : 96),
                 ::MulDiv(cy, 2540, dpiY > 0 ? dpiY : 96)};
}

template <typename T> void SafeRelease(T*& p) {
    if (p != nullptr) {
        T* pOld = p;
        p = nullptr;
        pOld->Release();
    }
}

} // namespace

COleControlSite::~COleControlSite() {
    Close();
}

HWND COleControlSite::GetContainerHwnd() const {
    return m_pWndContainer ? m_pWndContainer->m_hWnd : nullptr;
}

BOOL COleControlSite::LoadState(const BYTE* pInitData, ULONG cbInitData) {
    IPersistStreamInit* pPersist = nullptr;
    if (FAILED(
            m_pObject->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&pPersist))))
        return FALSE;
    HRESULT hr = E_FAIL;
    if (pInitData != nullptr && cbInitData > 0) {
        HGLOBAL hGlobal = ::GlobalAlloc(GMEM_MOVEABLE, cbInitData);
        if (void* pData = hGlobal ? ::GlobalLock(hGlobal) : nullptr) {
            std::memcpy(pData, pInitData, cbInitData);
            ::GlobalUnlock(hGlobal);
        }
        IStream* pStream = nullptr;
        if (hGlobal != nullptr && SUCCEEDED(::CreateStreamOnHGlobal(hGlobal, TRUE, &pStream))) {
            hr = pPersist->Load(pStream);
            pStream->Release();
        } else if (hGlobal != nullptr) {
            ::GlobalFree(hGlobal);
        }
    }
    // A state the control refuses leaves it with its defaults.
    if (FAILED(hr))
        hr = pPersist->InitNew();
    pPersist->Release();
    return SUCCEEDED(hr);
}

BOOL COleControlSite::CreateControl(REFCLSID clsid, LPCTSTR lpszWindowName, DWORD dwStyle,
                                    const RECT& rect, UINT nID, const BYTE* pInitData,
                                    ULONG cbInitData) {
    HWND hWndParent = GetContainerHwnd();
    if (m_pObject != nullptr || hWndParent == nullptr)
        return FALSE;
    m_nID = nID;
    m_rect = rect;
    if (FAILED(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                  IID_IOleObject, reinterpret_cast<void**>(&m_pObject))))
        return FALSE;

    DWORD dwMisc = 0;
    m_pObject->GetMiscStatus(DVASPECT_CONTENT, &dwMisc);
    const bool bSiteFirst = (dwMisc & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (bSiteFirst)
        m_pObject->SetClientSite(this);
    LoadState(pInitData, cbInitData);
    if (!bSiteFirst)
        m_pObject->SetClientSite(this);
    if (lpszWindowName != nullptr && *lpszWindowName != '\0') {
        wchar_t wszName[256] = {};
        ::MultiByteToWideChar(CP_ACP, 0, lpszWindowName, -1, wszName, 255);
        m_pObject->SetHostNames(L"", wszName);
    }
    SIZEL extent = PixelsToHimetric(rect.right - rect.left, rect.bottom - rect.top);
    m_pObject->SetExtent(DVASPECT_CONTENT, &extent);

    m_pEventSink = new COleEventSink(m_pWndContainer, nID);
    m_pEventSink->Connect(m_pObject);

    RECT rcPos = m_rect;
    m_pObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, hWndParent, &rcPos);
    if (dwStyle & WS_VISIBLE)
        m_pObject->DoVerb(OLEIVERB_SHOW, nullptr, this, 0, hWndParent, &rcPos);

    if (SUCCEEDED(m_pObject->QueryInterface(IID_IOleInPlaceObject,
                                            reinterpret_cast<void**>(&m_pInPlaceObject))))
        m_pInPlaceObject->GetWindow(&m_hWnd);
    if (m_hWnd == nullptr || !::IsWindow(m_hWnd)) {
        m_hWnd = nullptr;
        Close();
        return FALSE;
    }
    if (::GetParent(m_hWnd) != hWndParent)
        ::SetParent(m_hWnd, hWndParent);
    ::SetWindowLongPtrA(m_hWnd, GWLP_ID, static_cast<LONG_PTR>(nID));
    const DWORD dwKeep = WS_TABSTOP | WS_GROUP | WS_DISABLED;
    const DWORD dwOld = static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE));
    ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>((dwOld & ~dwKeep) | (dwStyle & dwKeep)));
    if (!(dwStyle & WS_VISIBLE))
        ::ShowWindow(m_hWnd, SW_HIDE);
    return TRUE;
}

void COleControlSite::Close() {
    // Events first, so that none arrives while the control goes away.
    if (m_pEventSink != nullptr) {
        m_pEventSink->Disconnect();
        SafeRelease(m_pEventSink);
    }
    SafeRelease(m_pActiveObject);
    if (m_pObject != nullptr) {
        SafeRelease(m_pInPlaceObject);
        AddRef(); // the control may drop its last reference to us here
        m_pObject->Close(OLECLOSE_NOSAVE);
        m_pObject->SetClientSite(nullptr);
        SafeRelease(m_pObject);
        m_bInPlaceActive = false;
        m_pWndContainer = nullptr;
        m_hWnd = nullptr;
        Release();
    }
    m_pWndContainer = nullptr;
    m_hWnd = nullptr;
}

IDispatch* COleControlSite::GetEventSink() const {
    return m_pEventSink;
}

void COleControlSite::MoveWindow(const RECT& rect) {
    m_rect = rect;
    if (m_hWnd != nullptr)
        ::MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     TRUE);
    if (m_pObject != nullptr) {
        SIZEL extent = PixelsToHimetric(rect.right - rect.left, rect.bottom - rect.top);
        m_pObject->SetExtent(DVASPECT_CONTENT, &extent);
    }
    if (m_pInPlaceObject != nullptr)
        m_pInPlaceObject->SetObjectRects(&m_rect, &m_rect);
}

BOOL COleControlSite::PreTranslateInput(MSG* pMsg) {
    if (!m_bInPlaceActive || m_pObject == nullptr)
        return FALSE;
    IOleInPlaceActiveObject* pActive = m_pActiveObject;
    if (pActive != nullptr)
        pActive->AddRef();
    else if (FAILED(m_pObject->QueryInterface(IID_IOleInPlaceActiveObject,
                                              reinterpret_cast<void**>(&pActive))))
        return FALSE;
    const HRESULT hr = pActive->TranslateAccelerator(pMsg);
    pActive->Release();
    return hr == S_OK;
}

STDMETHODIMP COleControlSite::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleClientSite)
        *ppv = static_cast<IOleClientSite*>(this);
    else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite)
        *ppv = static_cast<IOleInPlaceSite*>(this);
    else if (riid == IID_IOleInPlaceUIWindow || riid == IID_IOleInPlaceFrame)
        *ppv = static_cast<IOleInPlaceFrame*>(this);
    else if (riid == IID_IDispatch)
        *ppv = static_cast<IDispatch*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) COleControlSite::AddRef() {
    return static_cast<ULONG>(::InterlockedIncrement(&m_cRef));
}

STDMETHODIMP_(ULONG) COleControlSite::Release() {
    const LONG cRef = ::InterlockedDecrement(&m_cRef);
    if (cRef == 0)
        delete this;
    return static_cast<ULONG>(cRef);
}

STDMETHODIMP COleControlSite::GetMoniker(DWORD, DWORD, IMoniker** ppmk) {
    if (ppmk != nullptr)
        *ppmk = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP COleControlSite::GetContainer(IOleContainer** ppContainer) {
    if (ppContainer != nullptr)
        *ppContainer = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP COleControlSite::GetWindow(HWND* phwnd) {
    if (phwnd == nullptr)
        return E_POINTER;
    *phwnd = GetContainerHwnd();
    return *phwnd ? S_OK : E_FAIL;
}

STDMETHODIMP COleControlSite::OnInPlaceActivate() {
    m_bInPlaceActive = true;
    return S_OK;
}

STDMETHODIMP COleControlSite::OnInPlaceDeactivate() {
    m_bInPlaceActive = false;
    return S_OK;
}

STDMETHODIMP COleControlSite::GetWindowContext(IOleInPlaceFrame** ppFrame,
                                               IOleInPlaceUIWindow** ppDoc, LPRECT lprcPosRect,
                                               LPRECT lprcClipRect,
                                               LPOLEINPLACEFRAMEINFO lpFrameInfo) {
    if (ppFrame == nullptr || ppDoc == nullptr || lprcPosRect == nullptr || lprcClipRect == nullptr)
        return E_POINTER;
    *ppFrame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *ppDoc = nullptr;
    *lprcPosRect = m_rect;
    *lprcClipRect = m_rect;
    if (lpFrameInfo != nullptr) {
        lpFrameInfo->fMDIApp = FALSE;
        lpFrameInfo->hwndFrame = GetContainerHwnd();
        lpFrameInfo->haccel = nullptr;
        lpFrameInfo->cAccelEntries = 0;
    }
    return S_OK;
}

STDMETHODIMP COleControlSite::OnPosRectChange(LPCRECT lprcPosRect) {
    if (lprcPosRect == nullptr)
        return E_POINTER;
    m_rect = *lprcPosRect;
    if (m_pInPlaceObject != nullptr)
        m_pInPlaceObject->SetObjectRects(&m_rect, &m_rect);
    return S_OK;
}

STDMETHODIMP COleControlSite::SetActiveObject(IOleInPlaceActiveObject* pActiveObject, LPCOLESTR) {
    if (pActiveObject != nullptr)
        pActiveObject->AddRef();
    SafeRelease(m_pActiveObject);
    m_pActiveObject = pActiveObject;
    return S_OK;
}

STDMETHODIMP COleControlSite::GetTypeInfoCount(UINT* pctinfo) {
    if (pctinfo != nullptr)
        *pctinfo = 0;
    return S_OK;
}

STDMETHODIMP COleControlSite::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) {
    if (ppTInfo != nullptr)
        *ppTInfo = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP COleControlSite::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP COleControlSite::Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS*,
                                     VARIANT* pVarResult, EXCEPINFO*, UINT*) {
    // The container runs in user mode and draws no design-time decorations.
    VARIANT_BOOL value;
    switch (dispid) {
    case DISPID_AMBIENT_USERMODE:
        value = VARIANT_TRUE;
        break;
    case DISPID_AMBIENT_UIDEAD:
    case DISPID_AMBIENT_SHOWHATCHING:
    case DISPID_AMBIENT_SHOWGRABHANDLES:
        value = VARIANT_FALSE;
        break;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
    if (pVarResult != nullptr) {
        ::VariantInit(pVarResult);
        pVarResult->vt = VT_BOOL;
        pVarResult->boolVal = value;
    }
    return S_OK;
}
