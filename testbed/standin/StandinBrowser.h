// The stand-in for the WebBrowser control: the surface a control container
// and the program use (OLE object, in-place object, persisted state, the
// DWebBrowserEvents2 connection point, Navigate2 and Document) over a fetch
// of the page from the web server. Events fire on the user-interface thread.
#pragma once
#include "testbed/standin/BrowserEvents.h"
#include "testbed/standin/BrowserWindow.h"
#include "testbed/standin/DocHost.h"
#include "testbed/standin/FrameBrowser.h"
#include "testbed/standin/OwnWindows.h"
#include "testbed/standin/PageFetch.h"
#include "testbed/standin/SiteCalls.h"
#include "testbed/standin/Stubs.h"

#include <ocidl.h>
#include <oleidl.h>

#include <memory>
#include <utility>
#include <vector>

class CStandinBrowser : public CFrameBrowser,
                        public COleObjectStub,
                        public COleInPlaceObjectStub,
                        public COleInPlaceActiveObjectStub,
                        public CPersistStreamInitStub,
                        public CConnectionPointContainerStub,
                        public CProvideClassInfo2Stub,
                        public IBrowserWindowEvents {
public:
    CStandinBrowser();

    // IBrowserWindowEvents
    void OnFetched(UINT nSerial) override;
    void OnRefreshTimer() override;
    void OnFrameFetched(UINT nSerial) override;
    void OnFrameRefreshTimer() override;
    void OnContextMenu(const POINT& ptScreen) override;

    // The browser a pop-up was handed to by its opener's host, or NULL.
    static CStandinBrowser* FromDispatch(IDispatch* pDisp);
    // The page that opened this one: the target of window.opener (held).
    void SetOpener(IDispatch* pOpener);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    QEL_STANDIN_REFCOUNT()
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                     DISPPARAMS* pDispParams, VARIANT* pVarResult,
                                     EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

    // IOleObject
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* pClientSite) override;
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** ppClientSite) override;
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override;
    HRESULT STDMETHODCALLTYPE Close(DWORD dwSaveOption) override;
    HRESULT STDMETHODCALLTYPE DoVerb(LONG iVerb, LPMSG lpmsg, IOleClientSite* pActiveSite,
                                     LONG lindex, HWND hwndParent, LPCRECT lprcPosRect) override;
    HRESULT STDMETHODCALLTYPE Update() override;
    HRESULT STDMETHODCALLTYPE IsUpToDate() override;
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* pClsid) override;
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD dwDrawAspect, SIZEL* psizel) override;
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD dwDrawAspect, SIZEL* psizel) override;
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD dwAspect, DWORD* pdwStatus) override;

    // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) override;
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE UIDeactivate() override;
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT lprcPosRect, LPCRECT lprcClipRect) override;
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG) override;
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override;
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override;
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override;
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override;

    // IPersistStreamInit
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* pClassID) override;
    HRESULT STDMETHODCALLTYPE IsDirty() override;
    HRESULT STDMETHODCALLTYPE Load(LPSTREAM pStm) override;
    HRESULT STDMETHODCALLTYPE InitNew() override;

    // IConnectionPointContainer, IProvideClassInfo2
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override;
    HRESULT STDMETHODCALLTYPE GetGUID(DWORD dwGuidKind, GUID* pGUID) override;

    // IWebBrowser2
    HRESULT STDMETHODCALLTYPE get_RegisterAsDropTarget(VARIANT_BOOL* pbRegister) override;
    HRESULT STDMETHODCALLTYPE put_RegisterAsDropTarget(VARIANT_BOOL bRegister) override;

private:
    ~CStandinBrowser() override;
    void Navigate(const std::wstring& strUrl);
    // The page's script (testbed/standin/PageScript.h), once it has completed.
    void RunScripts(const std::wstring& strHtml, const std::wstring& strPageUrl);
    bool RunScriptError();
    // NewWindow3; the browser handed back is placed and sized as strFeatures
    // asks, then navigates to strUrl.
    void OpenWindow(const std::wstring& strUrl, DWORD dwFlags,
                    const std::wstring& strFeatures = std::wstring());
    // window.open's left, top, width and height, as this browser's WindowSet events.
    void ApplyFeatures(const std::wstring& strFeatures);
    // Where the control's own windows appear: the browser window's corner.
    POINT OwnWindowPlace() const;
    HRESULT InvokeDropTarget(WORD wFlags, DISPPARAMS* pDispParams, VARIANT* pVarResult);
    HRESULT InPlaceActivate(IOleClientSite* pSite, HWND hwndParent, LPCRECT lprcPosRect);
    void UIActivate();
    void ShowError(const std::wstring& strUrl, DWORD nStatus);
    void ScheduleFrameRefresh(size_t nFrame, const std::wstring& strFrameUrl);
    void StartDocument(const CPageFetch::CPage& top);
    void AddFrames(const std::vector<CPageFetch::CPage>& vecPages);
    void CompleteDocument(const CPageFetch::CPage& top);
    void CompleteFrame(size_t nFrame, const std::vector<CFrameBrowser*>& vecFrames,
                       const std::vector<CPageFetch::CPage>& vecPages);
    void ReleaseFrames();
    void Shutdown();

    CBrowserWindow m_window;
    CBrowserEvents m_events;
    CSiteCalls m_site;
    CDocHost m_host;
    COwnWindows m_ownWindows;
    IDispatch* m_pOpener = nullptr;
    VARIANT_BOOL m_bDropTarget = VARIANT_TRUE;
    std::unique_ptr<CPageFetch> m_pFetch;
    UINT m_nSerial = 0;
    std::wstring m_strUrl; // the address being shown or fetched
    std::wstring m_strRefreshUrl;
    // A frame that navigates by itself: one at a time.
    std::unique_ptr<CPageFetch> m_pFrameFetch;
    UINT m_nFrameSerial = 0;
    size_t m_nRefreshFrame = 0;
    std::wstring m_strFrameRefreshUrl;
    IOleClientSite* m_pClientSite = nullptr;
    IOleInPlaceSite* m_pInPlaceSite = nullptr;
    IOleInPlaceFrame* m_pFrame = nullptr;
    IOleInPlaceUIWindow* m_pDocWindow = nullptr;
    bool m_bUIActive = false;
    std::vector<CFrameBrowser*> m_vecFrames;
    std::vector<CPageFetch::CPage> m_vecFramePages; // what each of m_vecFrames loaded
    bool m_bLoading = false;                        // the page's document is arriving
    SIZEL m_sizeExtent = {0, 0};
    RECT m_rcPos = {0, 0, 0, 0};
};
