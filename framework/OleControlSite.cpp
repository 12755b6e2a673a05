#include "framework/OleControlSite.h"

#include "framework/ComRefCount.h"
#include "framework/Convert.h"
#include "framework/DocHostHandler.h"
#include "framework/OleControlContainer.h"
#include "framework/Wnd.h"

#include <olectl.h>

#include <cstring>

namespace {

LONG g_nLiveSites = 0;

// Pixels per inch of the screen, across and down.
SIZE ScreenDpi() {
    HDC hdc = ::GetDC(nullptr);
    const int dpiX = ::GetDeviceCaps(hdc, LOGPIXELSX);
    const int dpiY = ::GetDeviceCaps(hdc, LOGPIXELSY);
    ::ReleaseDC(nullptr, hdc);
    return SIZE{dpiX > 0 ? dpiX : 96, dpiY > 0 ? dpiY : 96};
}

// Pixels to HIMETRIC (0.01 mm) at the screen's resolution.
SIZEL PixelsToHimetric(int cx, int cy) {
    const SIZE dpi = ScreenDpi();
    return SIZEL{::MulDiv(cx, 2540, dpi.cx), ::MulDiv(cy, 2540, dpi.cy)};
}

} // namespace

COleControlSite::COleControlSite(COleControlContainer* pCtrlCont) : m_pCtrlCont(pCtrlCont) {
    ::InterlockedIncrement(&g_nLiveSites);
}

COleControlSite::~COleControlSite() {
    ::InterlockedDecrement(&g_nLiveSites);
}

LONG COleControlSite::GetLiveCount() {
    return ::InterlockedExchangeAdd(&g_nLiveSites, 0);
}

HWND COleControlSite::GetContainerHwnd() const {
    CWnd* pWnd = m_pCtrlCont ? m_pCtrlCont->GetWnd() : nullptr;
    return pWnd ? pWnd->m_hWnd : nullptr;
}

BOOL COleControlSite::LoadState(const BYTE* pInitData, ULONG cbInitData) {
    CComPtr<IPersistStreamInit> pPersist;
    if (FAILED(m_pObject.QueryInterface(&pPersist)))
        return TRUE; // a control without persisted state
    HRESULT hr = E_FAIL;
    if (pInitData != nullptr && cbInitData > 0) {
        HGLOBAL hGlobal = ::GlobalAlloc(GMEM_MOVEABLE, cbInitData);
        if (void* pData = hGlobal ? ::GlobalLock(hGlobal) : nullptr) {
            std::memcpy(pData, pInitData, cbInitData);
            ::GlobalUnlock(hGlobal);
        }
        CComPtr<IStream> pStream;
        if (hGlobal != nullptr && SUCCEEDED(::CreateStreamOnHGlobal(hGlobal, TRUE, &pStream)))
            hr = pPersist->Load(pStream);
        else if (hGlobal != nullptr)
            ::GlobalFree(hGlobal);
    }
    // A state the control refuses leaves it with its defaults.
    if (FAILED(hr))
        hr = pPersist->InitNew();
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
                                  IID_IOleObject, reinterpret_cast<void**>(&m_pObject)))) {
        ::OutputDebugStringA("COleControlSite: the control's class cannot be created\n");
        return FALSE;
    }

    DWORD dwMisc = 0;
    m_pObject->GetMiscStatus(DVASPECT_CONTENT, &dwMisc);
    const bool bSiteFirst = (dwMisc & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (bSiteFirst)
        m_pObject->SetClientSite(this);
    if (!LoadState(pInitData, cbInitData)) {
        ::OutputDebugStringA("COleControlSite: the control refused its initial state\n");
        Close();
        return FALSE;
    }
    if (!bSiteFirst)
        m_pObject->SetClientSite(this);
    if (lpszWindowName != nullptr && *lpszWindowName != '\0')
        m_pObject->SetHostNames(L"", AfxA2W(lpszWindowName).c_str());
    SIZEL extent = PixelsToHimetric(rect.right - rect.left, rect.bottom - rect.top);
    m_pObject->SetExtent(DVASPECT_CONTENT, &extent);

    m_pEventSink.Attach(new COleEventSink(m_pCtrlCont->GetWnd(), nID));
    if (!m_pEventSink->Connect(m_pObject))
        ::OutputDebugStringA("COleControlSite: the control's events are not connected\n");

    RECT rcPos = m_rect;
    m_pObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, hWndParent, &rcPos);
    if (dwStyle & WS_VISIBLE)
        m_pObject->DoVerb(OLEIVERB_SHOW, nullptr, this, 0, hWndParent, &rcPos);

    if (SUCCEEDED(m_pObject.QueryInterface(&m_pInPlaceObject)))
        m_pInPlaceObject->GetWindow(&m_hWnd);
    if (m_hWnd == nullptr || !::IsWindow(m_hWnd)) {
        ::OutputDebugStringA("COleControlSite: the control shows no window\n");
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
        m_pEventSink.Release();
    }
    m_pActiveObject.Release();
    m_pInPlaceObject.Release();
    m_hWnd = nullptr;
    CComPtr<IOleObject> pObject;
    pObject.Attach(m_pObject.Detach());
    if (pObject != nullptr) {
        pObject->Close(OLECLOSE_NOSAVE);
        pObject->SetClientSite(nullptr);
        pObject.Release();
    }
    m_bInPlaceActive = false;
    m_pCtrlCont = nullptr;
}

IDispatch* COleControlSite::GetEventSink() const {
    return m_pEventSink;
}

CDocHostHandler* COleControlSite::GetDocHostHandler() const {
    // The container window, else the windows that own it in turn: a page's
    // pop-up answers as the dialog that owns it.
    HWND hWnd = GetContainerHwnd();
    for (; hWnd != nullptr; hWnd = ::GetWindow(hWnd, GW_OWNER)) {
        if (CDocHostHandler* pHandler =
                dynamic_cast<CDocHostHandler*>(CWnd::FromHandlePermanent(hWnd)))
            return pHandler;
    }
    return nullptr;
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
    if (!m_bInPlaceActive || m_pObject == nullptr || m_bOfferingKey)
        return FALSE;
    CComPtr<IOleInPlaceActiveObject> pActive = m_pActiveObject;
    if (pActive == nullptr && FAILED(m_pObject.QueryInterface(&pActive)))
        return FALSE;
    m_bOfferingKey = true;
    const HRESULT hr = pActive->TranslateAccelerator(pMsg);
    m_bOfferingKey = false;
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
    else if (riid == IID_IOleControlSite)
        *ppv = static_cast<IOleControlSite*>(this);
    else if (riid == IID_IDispatch)
        *ppv = static_cast<IDispatch*>(this);
    else if ((*ppv = m_docHost.Find(riid)) == nullptr)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

AFX_IMPLEMENT_REFCOUNT(COleControlSite)

STDMETHODIMP COleControlSite::GetMoniker(DWORD, DWORD, IMoniker** ppmk) {
    if (ppmk != nullptr)
        *ppmk = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP COleControlSite::GetContainer(IOleContainer** ppContainer) {
    if (ppContainer == nullptr)
        return E_POINTER;
    *ppContainer = nullptr;
    if (m_pCtrlCont == nullptr)
        return E_NOINTERFACE;
    return m_pCtrlCont->QueryInterface(IID_IOleContainer, reinterpret_cast<void**>(ppContainer));
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
    m_pActiveObject = pActiveObject;
    return S_OK;
}

STDMETHODIMP COleControlSite::GetExtendedControl(IDispatch** ppDisp) {
    if (ppDisp == nullptr)
        return E_POINTER;
    *ppDisp = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP COleControlSite::TransformCoords(POINTL* pPtlHimetric, POINTF* pPtfContainer,
                                              DWORD dwFlags) {
    if (pPtlHimetric == nullptr || pPtfContainer == nullptr)
        return E_POINTER;
    // The container's coordinates are pixels; positions and sizes alike.
    const SIZE dpi = ScreenDpi();
    if (dwFlags & XFORMCOORDS_HIMETRICTOCONTAINER) {
        pPtfContainer->x = static_cast<float>(::MulDiv(pPtlHimetric->x, dpi.cx, 2540));
        pPtfContainer->y = static_cast<float>(::MulDiv(pPtlHimetric->y, dpi.cy, 2540));
    } else if (dwFlags & XFORMCOORDS_CONTAINERTOHIMETRIC) {
        const SIZEL himetric = PixelsToHimetric(static_cast<int>(pPtfContainer->x),
                                                static_cast<int>(pPtfContainer->y));
        pPtlHimetric->x = himetric.cx;
        pPtlHimetric->y = himetric.cy;
    } else {
        return E_INVALIDARG;
    }
    return S_OK;
}

STDMETHODIMP COleControlSite::TranslateAccelerator(LPMSG pMsg, DWORD) {
    CWnd* pWnd = m_pCtrlCont ? m_pCtrlCont->GetWnd() : nullptr;
    if (pMsg == nullptr || pWnd == nullptr)
        return S_FALSE;
    return pWnd->PreTranslateMessage(pMsg) ? S_OK : S_FALSE;
}

STDMETHODIMP COleControlSite::OnFocus(BOOL bGotFocus) {
    if (m_pCtrlCont != nullptr)
        m_pCtrlCont->OnFocusSite(bGotFocus ? this : nullptr);
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
