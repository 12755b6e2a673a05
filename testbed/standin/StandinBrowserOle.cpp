// CStandinBrowser as an embedded object: IOleObject, in-place activation,
// the persisted state and the connection point container.
#include "testbed/standin/StandinBrowser.h"

#include "testbed/standin/CallLog.h"
#include "testbed/standin/ConnectionPoint.h"

#include <exdisp.h>
#include <idispids.h>
#include <mshtmhst.h>
#include <olectl.h>
#include <shobjidl.h>

namespace {

// Not in the import libraries.
const IID kIidDocHostUIHandler2 = {
    0x3050F6D0, 0x98B5, 0x11CF, {0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B}};

const CLSID kClsidWebBrowser = {
    0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};

// The persisted state the control saves for its defaults: 160 bytes.
const ULONG kStateSize = 160;

DWORD Le32(const BYTE* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<DWORD>(p[3]) << 24);
}

} // namespace

// IOleObject

// W test_ClientSite: the control asks the new site for its interfaces, calls
// GetContainer and the in-place site's GetWindow, and reads the ambients
// OFFLINEIFNOTCONNECTED and SILENT; whatever the site refuses, it goes on.
HRESULT CStandinBrowser::SetClientSite(IOleClientSite* pClientSite) {
    CCallLog::Write("browser#%ld SetClientSite %s", m_nId, pClientSite ? "site" : "none");
    if (pClientSite)
        pClientSite->AddRef();
    if (m_pClientSite)
        m_pClientSite->Release();
    m_pClientSite = pClientSite;
    if (!pClientSite) {
        m_host.Detach();
        return S_OK;
    }
    IOleInPlaceSite* pInPlace = nullptr;
    if (SUCCEEDED(m_site.Ask(pClientSite, IID_IOleInPlaceSite, "IOleInPlaceSite",
                             reinterpret_cast<void**>(&pInPlace))) &&
        pInPlace) {
        HWND hwnd = nullptr;
        m_site.Log("GetWindow", pInPlace->GetWindow(&hwnd));
        pInPlace->Release();
    }
    m_site.Probe(pClientSite, IID_IOleInPlaceSiteEx, "IOleInPlaceSiteEx");
    m_site.Probe(pClientSite, kIidDocHostUIHandler2, "IDocHostUIHandler2");
    m_site.Probe(pClientSite, IID_IServiceProvider, "IServiceProvider");
    m_host.Attach(pClientSite);
    m_site.GetContainer(pClientSite);
    m_site.Ambient(pClientSite, DISPID_AMBIENT_OFFLINEIFNOTCONNECTED, "OFFLINEIFNOTCONNECTED");
    m_site.Ambient(pClientSite, DISPID_AMBIENT_SILENT, "SILENT");
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

// Nothing to do here, as for Update, IsUpToDate, IsDirty and the activation
// notices below; each is logged, so that no call passes silently.
HRESULT CStandinBrowser::SetHostNames(LPCOLESTR, LPCOLESTR) {
    CCallLog::Write("browser#%ld SetHostNames", m_nId);
    return S_OK;
}

HRESULT CStandinBrowser::Close(DWORD dwSaveOption) {
    CCallLog::Write("browser#%ld Close %lu", m_nId, dwSaveOption);
    AddRef();
    Shutdown();
    Release();
    return S_OK;
}

// W test_DoVerb: in place, CanInPlaceActivate, GetWindow, OnInPlaceActivate,
// GetWindowContext; a showing verb then ShowObject, GetContainer and the UI
// activation (OnUIActivate, SetActiveObject, SetMenu, OnFocus).
HRESULT CStandinBrowser::DoVerb(LONG iVerb, LPMSG, IOleClientSite* pActiveSite, LONG,
                                HWND hwndParent, LPCRECT lprcPosRect) {
    CCallLog::Write("browser#%ld DoVerb %ld", m_nId, iVerb);
    if (iVerb == OLEIVERB_HIDE) {
        UIDeactivate();
        if (m_window.GetSafeHwnd())
            ShowWindow(m_window.GetSafeHwnd(), SW_HIDE);
        return S_OK;
    }
    if (iVerb != OLEIVERB_PRIMARY && iVerb != OLEIVERB_SHOW && iVerb != OLEIVERB_UIACTIVATE &&
        iVerb != OLEIVERB_INPLACEACTIVATE)
        return OLEOBJ_S_INVALIDVERB;
    const HRESULT hr =
        InPlaceActivate(pActiveSite ? pActiveSite : m_pClientSite, hwndParent, lprcPosRect);
    if (FAILED(hr) || iVerb == OLEIVERB_INPLACEACTIVATE)
        return hr;
    if (m_pClientSite) {
        m_site.Log("ShowObject", m_pClientSite->ShowObject());
        m_site.GetContainer(m_pClientSite);
    }
    UIActivate();
    return S_OK;
}

HRESULT CStandinBrowser::InPlaceActivate(IOleClientSite* pSite, HWND hwndParent,
                                         LPCRECT lprcPosRect) {
    if (!m_pInPlaceSite) {
        if (!pSite || FAILED(m_site.Ask(pSite, IID_IOleInPlaceSite, "IOleInPlaceSite",
                                        reinterpret_cast<void**>(&m_pInPlaceSite))))
            return E_UNEXPECTED;
        if (m_site.Log("CanInPlaceActivate", m_pInPlaceSite->CanInPlaceActivate()) != S_OK) {
            m_pInPlaceSite->Release();
            m_pInPlaceSite = nullptr;
            return E_FAIL;
        }
        HWND hwndSite = nullptr;
        m_site.Log("GetWindow", m_pInPlaceSite->GetWindow(&hwndSite));
        m_site.Log("OnInPlaceActivate", m_pInPlaceSite->OnInPlaceActivate());
        RECT rcPos = {0, 0, 0, 0}, rcClip = {0, 0, 0, 0};
        OLEINPLACEFRAMEINFO frameInfo = {};
        frameInfo.cb = sizeof frameInfo;
        if (FAILED(m_site.Log("GetWindowContext",
                              m_pInPlaceSite->GetWindowContext(&m_pFrame, &m_pDocWindow, &rcPos,
                                                               &rcClip, &frameInfo)))) {
            m_pFrame = nullptr;
            m_pDocWindow = nullptr;
        }
        m_rcPos = lprcPosRect ? *lprcPosRect : rcPos;
        m_host.AskHostInfo();
        if (!hwndSite)
            hwndSite = hwndParent;
        if (!hwndSite || !m_window.Place(hwndSite, m_rcPos))
            return E_FAIL;
    } else if (lprcPosRect) {
        m_rcPos = *lprcPosRect;
        m_window.Move(m_rcPos);
    }
    return S_OK;
}

void CStandinBrowser::UIActivate() {
    if (m_bUIActive || !m_pInPlaceSite)
        return;
    m_bUIActive = true;
    m_site.Log("OnUIActivate", m_pInPlaceSite->OnUIActivate());
    IOleInPlaceActiveObject* pActive = static_cast<IOleInPlaceActiveObject*>(this);
    if (m_pFrame)
        m_site.Log("IOleInPlaceFrame::SetActiveObject", m_pFrame->SetActiveObject(pActive, L""));
    if (m_pDocWindow)
        m_site.Log("IOleInPlaceUIWindow::SetActiveObject",
                   m_pDocWindow->SetActiveObject(pActive, L""));
    if (m_pFrame)
        m_site.Log("SetMenu", m_pFrame->SetMenu(nullptr, nullptr, m_window.GetSafeHwnd()));
    IOleControlSite* pControlSite = nullptr;
    if (SUCCEEDED(m_site.Ask(m_pClientSite, IID_IOleControlSite, "IOleControlSite",
                             reinterpret_cast<void**>(&pControlSite))) &&
        pControlSite) {
        m_site.Log("OnFocus", pControlSite->OnFocus(TRUE));
        pControlSite->Release();
    }
}

HRESULT CStandinBrowser::Update() {
    CCallLog::Write("browser#%ld Update", m_nId);
    return S_OK;
}

HRESULT CStandinBrowser::IsUpToDate() {
    CCallLog::Write("browser#%ld IsUpToDate", m_nId);
    return S_OK;
}

HRESULT CStandinBrowser::GetUserClassID(CLSID* pClsid) {
    return GetClassID(pClsid);
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

HRESULT CStandinBrowser::GetMiscStatus(DWORD, DWORD* pdwStatus) {
    if (!pdwStatus)
        return E_POINTER;
    *pdwStatus = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT |
                 OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE;
    return S_OK;
}

// IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject

HRESULT CStandinBrowser::GetWindow(HWND* phwnd) {
    if (!phwnd)
        return E_POINTER;
    *phwnd = m_window.GetSafeHwnd();
    return *phwnd ? S_OK : E_FAIL;
}

HRESULT CStandinBrowser::InPlaceDeactivate() {
    CCallLog::Write("browser#%ld InPlaceDeactivate", m_nId);
    UIDeactivate();
    m_window.Destroy();
    if (m_pFrame) {
        m_pFrame->Release();
        m_pFrame = nullptr;
    }
    if (m_pDocWindow) {
        m_pDocWindow->Release();
        m_pDocWindow = nullptr;
    }
    if (m_pInPlaceSite) {
        IOleInPlaceSite* pSite = m_pInPlaceSite;
        m_pInPlaceSite = nullptr;
        m_site.Log("OnInPlaceDeactivate", pSite->OnInPlaceDeactivate());
        pSite->Release();
    }
    return S_OK;
}

HRESULT CStandinBrowser::UIDeactivate() {
    if (!m_bUIActive)
        return S_OK;
    m_bUIActive = false;
    if (m_pFrame)
        m_site.Log("IOleInPlaceFrame::SetActiveObject",
                   m_pFrame->SetActiveObject(nullptr, nullptr));
    if (m_pDocWindow)
        m_site.Log("IOleInPlaceUIWindow::SetActiveObject",
                   m_pDocWindow->SetActiveObject(nullptr, nullptr));
    if (m_pInPlaceSite)
        m_site.Log("OnUIDeactivate", m_pInPlaceSite->OnUIDeactivate(FALSE));
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

// Each key goes to the host's IDocHostUIHandler::TranslateAccelerator first
// (its documentation); what the host declines, the control acts on: once
// UI-active it takes F5 (it reloads), Ctrl+N (a new window with the page) and
// Tab (it moves through the page) for itself (W test_TranslateAccelerator).
HRESULT CStandinBrowser::TranslateAccelerator(LPMSG lpmsg) {
    if (!lpmsg || lpmsg->message < WM_KEYFIRST || lpmsg->message > WM_KEYLAST)
        return S_FALSE;
    if (lpmsg->message == WM_KEYDOWN || lpmsg->message == WM_SYSKEYDOWN)
        CCallLog::Write("browser#%ld key 0x%02X%s%s", m_nId, static_cast<unsigned>(lpmsg->wParam),
                        GetKeyState(VK_CONTROL) < 0 ? " with Ctrl" : "",
                        lpmsg->message == WM_SYSKEYDOWN ? " with Alt" : "");
    if (m_host.TranslateAccelerator(*lpmsg))
        return S_OK;
    const bool bCtrlN = lpmsg->wParam == 'N' && GetKeyState(VK_CONTROL) < 0;
    if (!m_bUIActive || lpmsg->message != WM_KEYDOWN ||
        (lpmsg->wParam != VK_F5 && lpmsg->wParam != VK_TAB && !bCtrlN))
        return S_FALSE;
    CCallLog::Write("browser#%ld TranslateAccelerator: %s taken", m_nId,
                    bCtrlN                   ? "Ctrl+N"
                    : lpmsg->wParam == VK_F5 ? "F5"
                                             : "Tab");
    const bool bPage = !m_strUrl.empty() && m_strUrl.compare(0, 4, L"res:") != 0;
    AddRef();
    if (lpmsg->wParam == VK_F5 && bPage)
        Navigate(m_strUrl);
    else if (bCtrlN && bPage)
        OpenWindow(m_strUrl, NWMF_USERINITED | NWMF_USERREQUESTED);
    Release();
    return S_OK;
}

HRESULT CStandinBrowser::OnFrameWindowActivate(BOOL fActivate) {
    CCallLog::Write("browser#%ld OnFrameWindowActivate %d", m_nId, fActivate);
    return S_OK;
}

HRESULT CStandinBrowser::OnDocWindowActivate(BOOL fActivate) {
    CCallLog::Write("browser#%ld OnDocWindowActivate %d", m_nId, fActivate);
    return S_OK;
}

HRESULT CStandinBrowser::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) {
    CCallLog::Write("browser#%ld ResizeBorder", m_nId);
    return S_OK;
}

HRESULT CStandinBrowser::EnableModeless(BOOL fEnable) {
    CCallLog::Write("browser#%ld EnableModeless %d", m_nId, fEnable);
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
    CCallLog::Write("browser#%ld IsDirty", m_nId);
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

HRESULT CStandinBrowser::InitNew() {
    CCallLog::Write("browser#%ld InitNew", m_nId);
    return S_OK;
}

// IConnectionPointContainer, IProvideClassInfo2

HRESULT CStandinBrowser::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) {
    if (!ppCP)
        return E_POINTER;
    *ppCP = nullptr;
    if (!IsEqualIID(riid, DIID_DWebBrowserEvents2)) {
        CCallLog::Write("browser#%ld FindConnectionPoint: not DWebBrowserEvents2", m_nId);
        return CONNECT_E_NOCONNECTION;
    }
    *ppCP = new CConnectionPoint(this, m_events);
    CCallLog::Write("browser#%ld FindConnectionPoint DWebBrowserEvents2", m_nId);
    return S_OK;
}

HRESULT CStandinBrowser::GetGUID(DWORD dwGuidKind, GUID* pGUID) {
    if (!pGUID)
        return E_POINTER;
    if (dwGuidKind != GUIDKIND_DEFAULT_SOURCE_DISP_IID)
        return E_INVALIDARG;
    *pGUID = DIID_DWebBrowserEvents2;
    return S_OK;
}
