#include "testbed/standin/StandinBrowser.h"

#include "testbed/standin/CallLog.h"
#include "testbed/standin/FeatureControls.h"
#include "testbed/standin/PageFetch.h"
#include "testbed/standin/StandinDocument.h"
#include "html/FriendlyError.h"
#include "web/WebBrowserDispid.h"

#include <exdispid.h>
#include <idispids.h>
#include <mshtmdid.h>
#include <urlmon.h>

namespace {

const DISPID kDispidNavigate2 = DISPID_WEBBROWSER_NAVIGATE2;
const DISPID kDispidRegisterAsDropTarget = 552; // DISPID_REGISTERASDROPTARGET, exdispid.h

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

// The status NavigateError reports: the HTTP status, or, when nothing
// answered, INET_E_RESOURCE_NOT_FOUND.
LONG StatusOf(DWORD nStatus) {
    return nStatus ? static_cast<LONG>(nStatus) : static_cast<LONG>(INET_E_RESOURCE_NOT_FOUND);
}

// The private interface by which a browser knows another of the stand-in's.
const IID kIidStandinBrowser = {
    0x5A1E3C27, 0x8D4B, 0x4F61, {0x9C, 0x2E, 0x71, 0xB0, 0x3D, 0x6A, 0x44, 0x19}};

bool IsStandinIid(REFIID riid) {
    return IsEqualIID(riid, kIidStandinBrowser) != FALSE;
}

// Another scheme than the web's is the system's to handle: a file shown, a
// protocol's program started. The stand-in only says so.
void LogOutsideTheWeb(LONG nId, const char* pszWhat, const std::wstring& strUrl) {
    for (const wchar_t* pszScheme : {L"http:", L"https:", L"about:", L"res:"}) {
        if (_wcsnicmp(strUrl.c_str(), pszScheme, wcslen(pszScheme)) == 0)
            return;
    }
    CCallLog::Write("browser#%ld %s outside the web followed: %s", nId, pszWhat,
                    CCallLog::Utf8(strUrl.c_str()).c_str());
}

std::wstring ErrorPage() {
    return L"<html><head><title>Cannot display the webpage</title></head>"
           L"<body>This page cannot be displayed.</body></html>";
}

} // namespace

CStandinBrowser::CStandinBrowser()
    : CFrameBrowser("browser"), m_window(*this), m_events("browser", m_nId),
      m_site("browser", m_nId), m_host("browser", m_nId) {
    CFeatureControls::Log("browser", m_nId);
}

CStandinBrowser::~CStandinBrowser() {
    Shutdown();
}

// Ends everything that can call back: worker, window, timer; lets go of the
// container's objects, the sinks, the frames and the document.
void CStandinBrowser::Shutdown() {
    m_pFetch.reset();
    m_pFrameFetch.reset();
    InPlaceDeactivate();
    m_ownWindows.CloseAll();
    m_events.Clear();
    m_host.Detach();
    if (m_pClientSite) {
        m_pClientSite->Release();
        m_pClientSite = nullptr;
    }
    SetOpener(nullptr);
    ReleaseFrames();
    SetDocument(nullptr);
}

CStandinBrowser* CStandinBrowser::FromDispatch(IDispatch* pDisp) {
    IWebBrowser2* pBrowser = nullptr;
    if (!pDisp ||
        FAILED(pDisp->QueryInterface(kIidStandinBrowser, reinterpret_cast<void**>(&pBrowser))))
        return nullptr;
    return static_cast<CStandinBrowser*>(pBrowser);
}

void CStandinBrowser::ReleaseFrames() {
    for (CFrameBrowser* pFrame : m_vecFrames)
        pFrame->Release();
    m_vecFrames.clear();
    m_vecFramePages.clear();
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
    else if (IsStandinIid(riid))
        pUnk = static_cast<IWebBrowser2*>(this);
    if (!pUnk)
        return CFrameBrowser::QueryInterface(riid, ppv);
    return Answer(riid, pUnk, ppv);
}

HRESULT CStandinBrowser::Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                                UINT* puArgErr) {
    if (dispIdMember == kDispidRegisterAsDropTarget)
        return InvokeDropTarget(wFlags, pDispParams, pVarResult);
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
    // W test_Navigate2: the control reads the user-mode ambient as it navigates.
    m_site.Ambient(m_pClientSite, DISPID_AMBIENT_USERMODE, "USERMODE");
    AddRef(); // a sink may close and release this browser while it is told
    Navigate(pszUrl);
    Release();
    return S_OK;
}

// W test_Navigate2 (first load): inside the call, before it returns:
// BeforeNavigate2, DownloadBegin, StatusTextChange with the frame's
// SetStatusText, the ambients DLCONTROL, USERAGENT and PALETTE,
// SetSecureLockIcon, FileDownload, CommandStateChange for back and forward,
// DownloadComplete.
// A cancelled navigation leaves the page, its frames and their timers as they are.
void CStandinBrowser::Navigate(const std::wstring& strUrl) {
    if (!m_window.GetSafeHwnd())
        m_window.Place(HWND_MESSAGE, m_rcPos);
    const HWND hWnd = m_window.GetSafeHwnd();
    if (!hWnd) {
        CCallLog::Write("browser#%ld no window to navigate in", m_nId);
        return;
    }
    if (!m_events.BeforeNavigate2(static_cast<IWebBrowser2*>(this), strUrl)) {
        CCallLog::Write("browser#%ld navigation cancelled by a sink", m_nId);
        return;
    }
    m_pFetch.reset();
    m_bLoading = false;
    KillTimer(hWnd, CBrowserWindow::IDT_REFRESH);
    KillTimer(hWnd, CBrowserWindow::IDT_FRAME_REFRESH);
    m_pFrameFetch.reset();
    m_strFrameRefreshUrl.clear();
    LogOutsideTheWeb(m_nId, "navigation", strUrl);
    m_strUrl = strUrl;
    m_events.DownloadBegin();
    m_events.StatusTextChange(L"");
    if (m_pFrame)
        m_site.Log("SetStatusText", m_pFrame->SetStatusText(L""));
    m_site.Ambient(m_pClientSite, DISPID_AMBIENT_DLCONTROL, "DLCONTROL");
    m_site.Ambient(m_pClientSite, DISPID_AMBIENT_USERAGENT, "USERAGENT");
    m_site.Ambient(m_pClientSite, DISPID_AMBIENT_PALETTE, "PALETTE");
    m_events.SetSecureLockIcon(0);
    if (!m_events.FileDownload(true)) {
        CCallLog::Write("browser#%ld download cancelled by a sink", m_nId);
        return;
    }
    m_events.CommandStateChange(CSC_NAVIGATEBACK, false);
    m_events.CommandStateChange(CSC_NAVIGATEFORWARD, false);
    m_events.DownloadComplete();
    if (m_window.GetSafeHwnd())
        m_pFetch.reset(new CPageFetch(m_window.GetSafeHwnd(), CBrowserWindow::WM_QEL_FETCHED,
                                      ++m_nSerial, strUrl));
}

// Later, from the message loop, a stage at a time: the page's first stage
// creates its document ("interactive") with TitleChange and NavigateComplete2;
// each frame completes as it arrives, with its own browser object, while the
// page may still be loading (the document then holds what has arrived); the
// page's DocumentComplete comes last, its document "complete" (KB180366).
void CStandinBrowser::OnFetched(UINT nSerial) {
    CPageFetch::CStage stage;
    if (nSerial != m_nSerial || !m_pFetch || !m_pFetch->TakeStage(stage))
        return;
    AddRef(); // a sink may close and release this browser while it is told
    if (stage.bDone)
        m_pFetch.reset();
    const CPageFetch::CPage& top = stage.top;
    if (!top.bOk) {
        ShowError(top.strUrl, top.nStatus);
        Release();
        return;
    }
    // A sink may navigate elsewhere or close the browser while it is told.
    const auto still = [this, nSerial] { return nSerial == m_nSerial && Document(); };
    if (!m_bLoading)
        StartDocument(top);
    if (still()) {
        Document()->Update(top.strHtml, stage.bDone);
        m_window.SetText(Document()->Page().Text());
    }
    if (!stage.vecFrames.empty() && still())
        AddFrames(stage.vecFrames);
    if (stage.bDone && still())
        CompleteDocument(top);
    if (stage.bDone && still())
        RunScripts(top.strHtml, top.strUrl);
    Release();
}

// The page's document, as far as it has arrived; its frames come later.
void CStandinBrowser::StartDocument(const CPageFetch::CPage& top) {
    CStandinDocument* pDocument = new CStandinDocument(top.strHtml, top.strCompatible, false);
    SetDocument(pDocument);
    pDocument->Release();
    ReleaseFrames();
    m_bLoading = true;
    m_strUrl = top.strUrl;
    m_events.TitleChange(pDocument->Page().Title().empty() ? top.strUrl
                                                           : pDocument->Page().Title());
    m_events.NavigateComplete2(static_cast<IWebBrowser2*>(this), top.strUrl);
}

// One of the page's frames and its own frames, completed as they arrived.
void CStandinBrowser::AddFrames(const std::vector<CPageFetch::CPage>& vecPages) {
    const size_t nFirst = m_vecFrames.size();
    for (const CPageFetch::CPage& frame : vecPages) {
        CFrameBrowser* pFrame = new CFrameBrowser();
        const std::wstring strHtml = frame.bOk ? frame.strHtml : ErrorPage();
        CStandinDocument* pFrameDocument = new CStandinDocument(strHtml, frame.strCompatible);
        pFrame->SetDocument(pFrameDocument);
        pFrameDocument->Release();
        m_vecFrames.push_back(pFrame);
        m_vecFramePages.push_back(frame);
    }
    CCallLog::Write("browser#%ld frame %u complete while the page is %s", m_nId,
                    static_cast<unsigned>(nFirst),
                    Document()->Page().OuterHtml().empty() ? "empty" : "loading");
    std::vector<CFrameBrowser*> vecFrames = m_vecFrames;
    const std::vector<CPageFetch::CPage> vecFramePages = m_vecFramePages;
    for (CFrameBrowser* pFrame : vecFrames)
        pFrame->AddRef();
    CompleteFrame(nFirst, vecFrames, vecFramePages);
    for (CFrameBrowser* pFrame : vecFrames)
        pFrame->Release();
}

void CStandinBrowser::CompleteDocument(const CPageFetch::CPage& top) {
    m_bLoading = false;
    int nSeconds = 0;
    std::wstring strRefresh;
    if (Document()->Page().Refresh(nSeconds, strRefresh) && m_window.GetSafeHwnd()) {
        m_strRefreshUrl = CPageFetch::Resolve(top.strUrl, strRefresh);
        SetTimer(m_window.GetSafeHwnd(), CBrowserWindow::IDT_REFRESH,
                 static_cast<UINT>(nSeconds) * 1000, nullptr);
        CCallLog::Write("browser#%ld refresh in %d s to %s", m_nId, nSeconds,
                        CCallLog::Utf8(m_strRefreshUrl.c_str()).c_str());
    }
    m_events.ProgressChange(-1, 0);
    m_events.DocumentComplete(static_cast<IWebBrowser2*>(this), top.strUrl);
}

// A frame, after the frames it holds in turn (KB180366: inner frames complete first).
void CStandinBrowser::CompleteFrame(size_t nFrame, const std::vector<CFrameBrowser*>& vecFrames,
                                    const std::vector<CPageFetch::CPage>& vecPages) {
    const CPageFetch::CPage& frame = vecPages[nFrame];
    std::wstring strFrameUrl = frame.strUrl;
    if (!m_events.BeforeNavigate2(vecFrames[nFrame], frame.strUrl)) {
        CCallLog::Write("browser#%ld frame %u navigation cancelled by a sink", m_nId,
                        static_cast<unsigned>(nFrame));
        return;
    }
    LogOutsideTheWeb(m_nId, "frame", frame.strUrl);
    if (!frame.bOk) {
        m_events.NavigateError(vecFrames[nFrame], frame.strUrl, StatusOf(frame.nStatus));
        strFrameUrl = CFriendlyError::ErrorAddress(frame.strUrl, frame.nStatus);
    }
    m_events.NavigateComplete2(vecFrames[nFrame], strFrameUrl);
    for (size_t i = nFrame + 1; i < vecPages.size(); ++i) {
        if (vecPages[i].nParent == static_cast<int>(nFrame))
            CompleteFrame(i, vecFrames, vecPages);
    }
    m_events.DocumentComplete(vecFrames[nFrame], strFrameUrl);
    if (frame.bOk)
        ScheduleFrameRefresh(nFrame, frame.strUrl);
}

// Wine's ieframe navigate.c: an address that cannot be fetched fires
// NavigateError (271); unless a sink cancels, an error page follows that
// completes with a res:// address.
void CStandinBrowser::ShowError(const std::wstring& strUrl, DWORD nStatus) {
    CCallLog::Write("browser#%ld %s: no document (status %lu)", m_nId,
                    CCallLog::Utf8(strUrl.c_str()).c_str(), nStatus);
    if (!m_events.NavigateError(static_cast<IWebBrowser2*>(this), strUrl, StatusOf(nStatus)))
        return;
    const std::wstring strError = CFriendlyError::ErrorAddress(strUrl, nStatus);
    CStandinDocument* pDocument = new CStandinDocument(ErrorPage(), L"");
    SetDocument(pDocument);
    pDocument->Release();
    m_window.SetText(pDocument->Page().Text());
    ReleaseFrames();
    m_strUrl = strError;
    m_events.TitleChange(pDocument->Page().Title());
    m_events.NavigateComplete2(static_cast<IWebBrowser2*>(this), strError);
    m_events.ProgressChange(-1, 0);
    m_events.DocumentComplete(static_cast<IWebBrowser2*>(this), strError);
}

// KB180366: a frame that navigates by itself (here its meta refresh) fires
// its own DocumentComplete with its browser object and its new address.
void CStandinBrowser::ScheduleFrameRefresh(size_t nFrame, const std::wstring& strFrameUrl) {
    CStandinDocument* pDocument =
        nFrame < m_vecFrames.size() ? m_vecFrames[nFrame]->Document() : nullptr;
    int nSeconds = 0;
    std::wstring strRefresh;
    if (!pDocument || !m_strFrameRefreshUrl.empty() || !m_window.GetSafeHwnd() ||
        !pDocument->Page().Refresh(nSeconds, strRefresh))
        return;
    m_nRefreshFrame = nFrame;
    m_strFrameRefreshUrl = CPageFetch::Resolve(strFrameUrl, strRefresh);
    SetTimer(m_window.GetSafeHwnd(), CBrowserWindow::IDT_FRAME_REFRESH,
             static_cast<UINT>(nSeconds) * 1000, nullptr);
    CCallLog::Write("browser#%ld frame %u refresh in %d s to %s", m_nId,
                    static_cast<unsigned>(nFrame), nSeconds,
                    CCallLog::Utf8(m_strFrameRefreshUrl.c_str()).c_str());
}

void CStandinBrowser::OnFrameRefreshTimer() {
    if (m_strFrameRefreshUrl.empty() || m_nRefreshFrame >= m_vecFrames.size() ||
        !m_window.GetSafeHwnd())
        return;
    AddRef();
    if (m_events.BeforeNavigate2(m_vecFrames[m_nRefreshFrame], m_strFrameRefreshUrl))
        m_pFrameFetch.reset(new CPageFetch(m_window.GetSafeHwnd(),
                                           CBrowserWindow::WM_QEL_FRAME_FETCHED, ++m_nFrameSerial,
                                           m_strFrameRefreshUrl));
    else
        m_strFrameRefreshUrl.clear();
    Release();
}

void CStandinBrowser::OnFrameFetched(UINT nSerial) {
    CPageFetch::CStage stage;
    if (nSerial != m_nFrameSerial || !m_pFrameFetch || m_nRefreshFrame >= m_vecFrames.size() ||
        !m_pFrameFetch->TakeStage(stage) || !stage.bDone)
        return;
    m_pFrameFetch.reset();
    const CPageFetch::CPage& page = stage.top;
    m_strFrameRefreshUrl.clear();
    CFrameBrowser* pFrame = m_vecFrames[m_nRefreshFrame];
    AddRef();
    pFrame->AddRef();
    std::wstring strUrl = page.strUrl;
    if (!page.bOk) {
        m_events.NavigateError(pFrame, page.strUrl, StatusOf(page.nStatus));
        strUrl = CFriendlyError::ErrorAddress(page.strUrl, page.nStatus);
    }
    CStandinDocument* pDocument =
        new CStandinDocument(page.bOk ? page.strHtml : ErrorPage(), page.strCompatible);
    pFrame->SetDocument(pDocument);
    pDocument->Release();
    m_events.NavigateComplete2(pFrame, strUrl);
    m_events.DocumentComplete(pFrame, strUrl);
    const bool bStillThere =
        m_nRefreshFrame < m_vecFrames.size() && m_vecFrames[m_nRefreshFrame] == pFrame;
    if (page.bOk && bStillThere)
        ScheduleFrameRefresh(m_nRefreshFrame, page.strUrl);
    pFrame->Release();
    Release();
}

void CStandinBrowser::OnRefreshTimer() {
    if (!m_strRefreshUrl.empty()) {
        CCallLog::Write("browser#%ld refresh", m_nId);
        AddRef();
        Navigate(m_strRefreshUrl);
        Release();
    }
}
