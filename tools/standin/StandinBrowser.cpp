#include "tools/standin/StandinBrowser.h"

#include "tools/standin/CallLog.h"
#include "tools/standin/ConnectionPoint.h"
#include "tools/standin/HtmlDocument.h"
#include "tools/standin/PageFetch.h"
#include "web/WebBrowserDispid.h"

#include <exdispid.h>

namespace {

const DISPID kDispidNavigate2 = DISPID_WEBBROWSER_NAVIGATE2;
const DISPID kDispidDocumentComplete = DISPID_DOCUMENTCOMPLETE;

const CLSID kClsidWebBrowser = {
    0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};

// The persisted state the control saves for its defaults: 160 bytes.
const ULONG kStateSize = 160;

DWORD Le32(const BYTE* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<DWORD>(p[3]) << 24);
}

// The address a Navigate2 argument holds: a string, or a reference to a variant holding one.
const wchar_t* UrlOf(const VARIANT* pv) {
    if (pv && pv->vt == (VT_VARIANT | VT_BYREF))
        pv = pv->pvarVal;
    if (!pv)
        return nullptr;
    if (pv->vt == VT_BSTR)
        return pv->bstrVal;
    if (pv->vt == (VT_BSTR | VT_BYREF) && pv->pbstrVal)
        return *pv->pbstrVal;
    return nullptr;
}

} // namespace

CStandinBrowser::CStandinBrowser() : CFrameBrowser("browser"), m_window(*this) {}

CStandinBrowser::~CStandinBrowser() {
    Shutdown();
}

// Ends everything that can call back: worker, window, timer; lets go of the
// container's objects, the sinks, the frames and the document.
void CStandinBrowser::Shutdown() {
    m_pFetch.reset();
    InPlaceDeactivate();
    std::vector<std::pair<DWORD, IDispatch*>> vecSinks;
    vecSinks.swap(m_vecSinks);
    for (auto& sink : vecSinks)
        sink.second->Release();
    if (m_pClientSite) {
        m_pClientSite->Release();
        m_pClientSite = nullptr;
    }
    ReleaseFrames();
    SetDocument(nullptr);
}

void CStandinBrowser::ReleaseFrames() {
    for (CFrameBrowser* pFrame : m_vecFrames)
        pFrame->Release();
    m_vecFrames.clear();
}

HRESULT CStandinBrowser::QueryInterface(REFIID riid, void** ppv) {
    IUnknown* pUnk = nullptr;
    if (IsEqualIID(riid, IID_IOleObject))
        pUnk = static_cast<IOleObject*>(this);
    else if (IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IOleInPlaceObject))
        pUnk = static_cast<IOleInPlaceObject*>(this);
    else if (IsEqualIID(riid, IID_IOleInPlaceActiveObject))
        pUnk = static_cast<IOleInPlaceActiveObject*>(this);
    else if (IsEqualIID(riid, IID_IPersist) || IsEqualIID(riid, IID_IPersistStreamInit))
        pUnk = static_cast<IPersistStreamInit*>(this);
    else if (IsEqualIID(riid, IID_IConnectionPointContainer))
        pUnk = static_cast<IConnectionPointContainer*>(this);
    else if (IsEqualIID(riid, IID_IProvideClassInfo) || IsEqualIID(riid, IID_IProvideClassInfo2))
        pUnk = static_cast<IProvideClassInfo2*>(this);
    if (!pUnk)
        return CFrameBrowser::QueryInterface(riid, ppv);
    return Answer(riid, pUnk, ppv);
}

HRESULT CStandinBrowser::Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                                UINT* puArgErr) {
    if (dispIdMember != kDispidNavigate2)
        return CFrameBrowser::Invoke(dispIdMember, riid, lcid, wFlags, pDispParams, pVarResult,
                                     pExcepInfo, puArgErr);
    // Arguments arrive last first: the URL is the last of the five.
    if (!pDispParams || pDispParams->cArgs < 1)
        return DISP_E_BADPARAMCOUNT;
    const wchar_t* pszUrl = UrlOf(&pDispParams->rgvarg[pDispParams->cArgs - 1]);
    if (!pszUrl) {
        CCallLog::Write("browser#%ld Navigate2: no address", m_nId);
        return DISP_E_TYPEMISMATCH;
    }
    CCallLog::Write("browser#%ld Navigate2 %s (%u arguments)", m_nId,
                    CCallLog::Utf8(pszUrl).c_str(), pDispParams->cArgs);
    Navigate(pszUrl);
    return S_OK;
}

void CStandinBrowser::Navigate(const std::wstring& strUrl) {
    m_pFetch.reset();
    if (!m_window.GetSafeHwnd())
        m_window.Place(HWND_MESSAGE, m_rcPos);
    const HWND hWnd = m_window.GetSafeHwnd();
    if (!hWnd) {
        CCallLog::Write("browser#%ld no window to navigate in", m_nId);
        return;
    }
    KillTimer(hWnd, CBrowserWindow::IDT_REFRESH);
    m_pFetch.reset(new CPageFetch(hWnd, CBrowserWindow::WM_QEL_FETCHED, ++m_nSerial, strUrl));
}

void CStandinBrowser::OnFetched(UINT nSerial) {
    if (nSerial != m_nSerial || !m_pFetch)
        return;
    const std::unique_ptr<CPageFetch> pFetch(std::move(m_pFetch));
    const CPageFetch::CPage& top = pFetch->Top();
    if (!top.bOk) {
        CCallLog::Write("browser#%ld %s: no document", m_nId,
                        CCallLog::Utf8(top.strUrl.c_str()).c_str());
        return;
    }
    AddRef(); // a sink may close and release this browser while it is told
    CHtmlDocument* pDocument = new CHtmlDocument(top.strHtml);
    SetDocument(pDocument);
    pDocument->Release();
    m_window.SetText(pDocument->Page().Text());
    ReleaseFrames();
    for (const CPageFetch::CPage& frame : pFetch->Frames()) {
        CFrameBrowser* pFrame = new CFrameBrowser();
        if (frame.bOk) {
            CHtmlDocument* pFrameDocument = new CHtmlDocument(frame.strHtml);
            pFrame->SetDocument(pFrameDocument);
            pFrameDocument->Release();
        }
        m_vecFrames.push_back(pFrame);
    }
    int nSeconds = 0;
    std::wstring strRefresh;
    if (pDocument->Page().Refresh(nSeconds, strRefresh) && m_window.GetSafeHwnd()) {
        m_strRefreshUrl = CPageFetch::Resolve(top.strUrl, strRefresh);
        SetTimer(m_window.GetSafeHwnd(), CBrowserWindow::IDT_REFRESH,
                 static_cast<UINT>(nSeconds) * 1000, nullptr);
        CCallLog::Write("browser#%ld refresh in %d s to %s", m_nId, nSeconds,
                        CCallLog::Utf8(m_strRefreshUrl.c_str()).c_str());
    }
    // The frames' documents complete first, then the page's.
    std::vector<CFrameBrowser*> vecFrames = m_vecFrames;
    for (size_t i = 0; i < vecFrames.size(); ++i) {
        vecFrames[i]->AddRef();
        FireDocumentComplete(vecFrames[i], pFetch->Frames()[i].strUrl);
        vecFrames[i]->Release();
    }
    FireDocumentComplete(static_cast<IWebBrowser2*>(this), top.strUrl);
    Release();
}

void CStandinBrowser::OnRefreshTimer() {
    if (!m_strRefreshUrl.empty()) {
        CCallLog::Write("browser#%ld refresh", m_nId);
        Navigate(m_strRefreshUrl);
    }
}

// DocumentComplete(pDisp, URL) to every sink: URL by reference to a string,
// the arguments last first, as the control passes them.
void CStandinBrowser::FireDocumentComplete(IDispatch* pDisp, const std::wstring& strUrl) {
    VARIANT varUrl;
    VariantInit(&varUrl);
    varUrl.vt = VT_BSTR;
    varUrl.bstrVal = SysAllocStringLen(strUrl.data(), static_cast<UINT>(strUrl.size()));
    VARIANTARG args[2];
    VariantInit(&args[0]);
    args[0].vt = VT_VARIANT | VT_BYREF;
    args[0].pvarVal = &varUrl;
    VariantInit(&args[1]);
    args[1].vt = VT_DISPATCH;
    args[1].pdispVal = pDisp;
    DISPPARAMS params = {args, nullptr, 2, 0};
    std::vector<std::pair<DWORD, IDispatch*>> vecSinks = m_vecSinks;
    for (auto& sink : vecSinks)
        sink.second->AddRef();
    CCallLog::Write("browser#%ld DocumentComplete %s (%s) to %u sink(s)", m_nId,
                    CCallLog::Utf8(strUrl.c_str()).c_str(),
                    pDisp == static_cast<IWebBrowser2*>(this) ? "top" : "frame",
                    static_cast<unsigned>(vecSinks.size()));
    for (auto& sink : vecSinks) {
        sink.second->Invoke(kDispidDocumentComplete, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                            &params, nullptr, nullptr, nullptr);
        sink.second->Release();
    }
    VariantClear(&varUrl);
}

HRESULT CStandinBrowser::AddSink(IUnknown* pUnkSink, DWORD* pdwCookie) {
    if (!pUnkSink || !pdwCookie)
        return E_POINTER;
    IDispatch* pSink = nullptr;
    if (FAILED(
            pUnkSink->QueryInterface(DIID_DWebBrowserEvents2, reinterpret_cast<void**>(&pSink))) &&
        FAILED(pUnkSink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&pSink))))
        return CONNECT_E_CANNOTCONNECT;
    *pdwCookie = m_nNextCookie++;
    m_vecSinks.emplace_back(*pdwCookie, pSink);
    CCallLog::Write("browser#%ld Advise: cookie %lu", m_nId, *pdwCookie);
    return S_OK;
}

HRESULT CStandinBrowser::RemoveSink(DWORD dwCookie) {
    for (auto it = m_vecSinks.begin(); it != m_vecSinks.end(); ++it) {
        if (it->first == dwCookie) {
            IDispatch* pSink = it->second;
            m_vecSinks.erase(it);
            pSink->Release();
            CCallLog::Write("browser#%ld Unadvise: cookie %lu", m_nId, dwCookie);
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

// IOleObject

HRESULT CStandinBrowser::SetClientSite(IOleClientSite* pClientSite) {
    CCallLog::Write("browser#%ld SetClientSite %s", m_nId, pClientSite ? "site" : "none");
    if (pClientSite)
        pClientSite->AddRef();
    if (m_pClientSite)
        m_pClientSite->Release();
    m_pClientSite = pClientSite;
    return S_OK;
}

HRESULT CStandinBrowser::GetClientSite(IOleClientSite** ppClientSite) {
    if (!ppClientSite)
        return E_POINTER;
    *ppClientSite = m_pClientSite;
    if (m_pClientSite)
        m_pClientSite->AddRef();
    return S_OK;
}

HRESULT CStandinBrowser::SetHostNames(LPCOLESTR, LPCOLESTR) {
    return S_OK;
}

HRESULT CStandinBrowser::Close(DWORD dwSaveOption) {
    CCallLog::Write("browser#%ld Close %lu", m_nId, dwSaveOption);
    AddRef();
    Shutdown();
    Release();
    return S_OK;
}

HRESULT CStandinBrowser::SetMoniker(DWORD, IMoniker*) {
    return E_NOTIMPL;
}

HRESULT CStandinBrowser::GetMoniker(DWORD, DWORD, IMoniker**) {
    return E_NOTIMPL;
}

HRESULT CStandinBrowser::InitFromData(IDataObject*, BOOL, DWORD) {
    return E_NOTIMPL;
}

HRESULT CStandinBrowser::GetClipboardData(DWORD, IDataObject**) {
    return E_NOTIMPL;
}

// Any showing verb activates in place: the window goes under the site's
// window, at the given rectangle or the one the site reports.
HRESULT CStandinBrowser::DoVerb(LONG iVerb, LPMSG, IOleClientSite* pActiveSite, LONG,
                                HWND hwndParent, LPCRECT lprcPosRect) {
    CCallLog::Write("browser#%ld DoVerb %ld", m_nId, iVerb);
    if (iVerb == OLEIVERB_HIDE) {
        if (m_window.GetSafeHwnd())
            ShowWindow(m_window.GetSafeHwnd(), SW_HIDE);
        return S_OK;
    }
    if (iVerb != OLEIVERB_PRIMARY && iVerb != OLEIVERB_SHOW && iVerb != OLEIVERB_UIACTIVATE &&
        iVerb != OLEIVERB_INPLACEACTIVATE)
        return OLEOBJ_S_INVALIDVERB;
    IOleClientSite* pSite = pActiveSite ? pActiveSite : m_pClientSite;
    if (!m_pInPlaceSite) {
        if (!pSite || FAILED(pSite->QueryInterface(IID_IOleInPlaceSite,
                                                   reinterpret_cast<void**>(&m_pInPlaceSite))))
            return E_UNEXPECTED;
        if (m_pInPlaceSite->CanInPlaceActivate() != S_OK) {
            m_pInPlaceSite->Release();
            m_pInPlaceSite = nullptr;
            return E_FAIL;
        }
        m_pInPlaceSite->OnInPlaceActivate();
    }
    HWND hwndSite = nullptr;
    m_pInPlaceSite->GetWindow(&hwndSite);
    if (!hwndSite)
        hwndSite = hwndParent;
    IOleInPlaceFrame* pFrame = nullptr;
    IOleInPlaceUIWindow* pDocWindow = nullptr;
    RECT rcPos = {0, 0, 0, 0}, rcClip = {0, 0, 0, 0};
    OLEINPLACEFRAMEINFO frameInfo = {};
    frameInfo.cb = sizeof frameInfo;
    m_pInPlaceSite->GetWindowContext(&pFrame, &pDocWindow, &rcPos, &rcClip, &frameInfo);
    if (pFrame)
        pFrame->Release();
    if (pDocWindow)
        pDocWindow->Release();
    m_rcPos = lprcPosRect ? *lprcPosRect : rcPos;
    if (!hwndSite || !m_window.Place(hwndSite, m_rcPos))
        return E_FAIL;
    if (iVerb == OLEIVERB_UIACTIVATE)
        m_pInPlaceSite->OnUIActivate();
    return S_OK;
}

HRESULT CStandinBrowser::EnumVerbs(IEnumOLEVERB**) {
    return E_NOTIMPL;
}

HRESULT CStandinBrowser::Update() {
    return S_OK;
}

HRESULT CStandinBrowser::IsUpToDate() {
    return S_OK;
}

HRESULT CStandinBrowser::GetUserClassID(CLSID* pClsid) {
    return GetClassID(pClsid);
}

HRESULT CStandinBrowser::GetUserType(DWORD, LPOLESTR*) {
    return E_NOTIMPL;
}

HRESULT CStandinBrowser::SetExtent(DWORD dwDrawAspect, SIZEL* psizel) {
    if (!psizel)
        return E_POINTER;
    CCallLog::Write("browser#%ld SetExtent %lu: %ld x %ld", m_nId, dwDrawAspect, psizel->cx,
                    psizel->cy);
    m_sizeExtent = *psizel;
    return S_OK;
}

HRESULT CStandinBrowser::GetExtent(DWORD, SIZEL* psizel) {
    if (!psizel)
        return E_POINTER;
    *psizel = m_sizeExtent;
    return S_OK;
}

HRESULT CStandinBrowser::Advise(IAdviseSink*, DWORD*) {
    return E_NOTIMPL;
}

HRESULT CStandinBrowser::Unadvise(DWORD) {
    return E_NOTIMPL;
}

HRESULT CStandinBrowser::EnumAdvise(IEnumSTATDATA**) {
    return E_NOTIMPL;
}

HRESULT CStandinBrowser::GetMiscStatus(DWORD, DWORD* pdwStatus) {
    if (!pdwStatus)
        return E_POINTER;
    *pdwStatus = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT |
                 OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE;
    return S_OK;
}

HRESULT CStandinBrowser::SetColorScheme(LOGPALETTE*) {
    return E_NOTIMPL;
}

// IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject

HRESULT CStandinBrowser::GetWindow(HWND* phwnd) {
    if (!phwnd)
        return E_POINTER;
    *phwnd = m_window.GetSafeHwnd();
    return *phwnd ? S_OK : E_FAIL;
}

HRESULT CStandinBrowser::ContextSensitiveHelp(BOOL) {
    return E_NOTIMPL;
}

HRESULT CStandinBrowser::InPlaceDeactivate() {
    CCallLog::Write("browser#%ld InPlaceDeactivate", m_nId);
    m_window.Destroy();
    if (m_pInPlaceSite) {
        IOleInPlaceSite* pSite = m_pInPlaceSite;
        m_pInPlaceSite = nullptr;
        pSite->OnInPlaceDeactivate();
        pSite->Release();
    }
    return S_OK;
}

HRESULT CStandinBrowser::UIDeactivate() {
    return S_OK;
}

HRESULT CStandinBrowser::SetObjectRects(LPCRECT lprcPosRect, LPCRECT) {
    if (!lprcPosRect)
        return E_POINTER;
    CCallLog::Write("browser#%ld SetObjectRects %ld,%ld %ldx%ld", m_nId, lprcPosRect->left,
                    lprcPosRect->top, lprcPosRect->right - lprcPosRect->left,
                    lprcPosRect->bottom - lprcPosRect->top);
    m_rcPos = *lprcPosRect;
    m_window.Move(m_rcPos);
    return S_OK;
}

HRESULT CStandinBrowser::ReactivateAndUndo() {
    return E_NOTIMPL;
}

HRESULT CStandinBrowser::TranslateAccelerator(LPMSG) {
    return S_FALSE;
}

HRESULT CStandinBrowser::OnFrameWindowActivate(BOOL) {
    return S_OK;
}

HRESULT CStandinBrowser::OnDocWindowActivate(BOOL) {
    return S_OK;
}

HRESULT CStandinBrowser::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) {
    return S_OK;
}

HRESULT CStandinBrowser::EnableModeless(BOOL) {
    return S_OK;
}

// IPersistStreamInit

HRESULT CStandinBrowser::GetClassID(CLSID* pClassID) {
    if (!pClassID)
        return E_POINTER;
    *pClassID = kClsidWebBrowser;
    return S_OK;
}

HRESULT CStandinBrowser::IsDirty() {
    return S_FALSE;
}

// Takes the 160-byte state the control saves for its defaults: its own
// 76-byte block (size, extent in HIMETRIC, folder view VID_LargeIcons), then
// a shell-link header (size 76, CLSID_ShellLink). Anything else is refused.
HRESULT CStandinBrowser::Load(LPSTREAM pStm) {
    if (!pStm)
        return E_POINTER;
    BYTE state[kStateSize + 1] = {};
    ULONG nRead = 0, nMore = 0;
    pStm->Read(state, kStateSize, &nRead);
    if (nRead == kStateSize)
        pStm->Read(state + kStateSize, 1, &nMore);
    const char* pszFault = nullptr;
    if (nRead + nMore != kStateSize)
        pszFault = "not 160 bytes";
    else if (Le32(state + 4) != 76 || Le32(state + 40) != 76 || Le32(state + 80) != 76)
        pszFault = "block sizes";
    else if (Le32(state + 56) != 0x0057D0E0)
        pszFault = "folder view";
    else if (Le32(state + 84) != 0x00021401)
        pszFault = "shell-link class";
    else if (Le32(state + 8) == 0 || Le32(state + 12) == 0)
        pszFault = "empty extent";
    if (pszFault) {
        CCallLog::Write("browser#%ld Load: refused, %s (%lu bytes read)", m_nId, pszFault,
                        nRead + nMore);
        return E_FAIL;
    }
    m_sizeExtent.cx = static_cast<LONG>(Le32(state + 8));
    m_sizeExtent.cy = static_cast<LONG>(Le32(state + 12));
    CCallLog::Write("browser#%ld Load: 160 bytes, extent %ld x %ld HIMETRIC, VID_LargeIcons, "
                    "shell link",
                    m_nId, m_sizeExtent.cx, m_sizeExtent.cy);
    return S_OK;
}

HRESULT CStandinBrowser::Save(LPSTREAM, BOOL) {
    return E_NOTIMPL;
}

HRESULT CStandinBrowser::GetSizeMax(ULARGE_INTEGER*) {
    return E_NOTIMPL;
}

HRESULT CStandinBrowser::InitNew() {
    CCallLog::Write("browser#%ld InitNew", m_nId);
    return S_OK;
}

// IConnectionPointContainer, IProvideClassInfo2

HRESULT CStandinBrowser::EnumConnectionPoints(IEnumConnectionPoints**) {
    return E_NOTIMPL;
}

HRESULT CStandinBrowser::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) {
    if (!ppCP)
        return E_POINTER;
    *ppCP = nullptr;
    if (!IsEqualIID(riid, DIID_DWebBrowserEvents2)) {
        CCallLog::Write("browser#%ld FindConnectionPoint: not DWebBrowserEvents2", m_nId);
        return CONNECT_E_NOCONNECTION;
    }
    *ppCP = new CConnectionPoint(*this);
    CCallLog::Write("browser#%ld FindConnectionPoint DWebBrowserEvents2", m_nId);
    return S_OK;
}

HRESULT CStandinBrowser::GetClassInfo(ITypeInfo**) {
    return E_NOTIMPL;
}

HRESULT CStandinBrowser::GetGUID(DWORD dwGuidKind, GUID* pGUID) {
    if (!pGUID)
        return E_POINTER;
    if (dwGuidKind != GUIDKIND_DEFAULT_SOURCE_DISP_IID)
        return E_INVALIDARG;
    *pGUID = DIID_DWebBrowserEvents2;
    return S_OK;
}
