// CDocHostSite: the host interfaces a browser control asks its client site
// for (IDocHostUIHandler, IDocHostShowUI, IOleCommandTarget), as a part of
// one control site: it shares the site's reference count and identity, and
// passes each question to the CDocHostHandler of the site's container window.
#pragma once

#include <docobj.h>
#include <mshtmhst.h>

class COleControlSite;
class CDocHostHandler;

class CDocHostSite : public IDocHostUIHandler, public IDocHostShowUI, public IOleCommandTarget {
public:
    explicit CDocHostSite(COleControlSite& site) : m_site(site) {}
    CDocHostSite(const CDocHostSite&) = delete;
    CDocHostSite& operator=(const CDocHostSite&) = delete;

    // The interface riid of this part (not AddRef'ed), or NULL.
    IUnknown* Find(REFIID riid);

    // IUnknown, the site's
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IDocHostUIHandler
    STDMETHODIMP ShowContextMenu(DWORD dwID, POINT* ppt, IUnknown* pcmdtReserved,
                                 IDispatch* pdispReserved) override;
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* pInfo) override;
    STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                        IOleInPlaceUIWindow*) override {
        return S_FALSE;
    }
    STDMETHODIMP HideUI() override { return S_OK; }
    STDMETHODIMP UpdateUI() override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup,
                                      DWORD nCmdID) override;
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* pchKey, DWORD) override;
    STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget** ppDropTarget) override;
    STDMETHODIMP GetExternal(IDispatch** ppDispatch) override;
    STDMETHODIMP TranslateUrl(DWORD, LPWSTR, LPWSTR* ppchURLOut) override;
    STDMETHODIMP FilterDataObject(IDataObject*, IDataObject** ppDORet) override;
    // IDocHostShowUI
    STDMETHODIMP ShowMessage(HWND hwnd, LPOLESTR lpstrText, LPOLESTR lpstrCaption, DWORD dwType,
                             LPOLESTR lpstrHelpFile, DWORD dwHelpContext,
                             LRESULT* plResult) override;
    STDMETHODIMP ShowHelp(HWND hwnd, LPOLESTR pszHelpFile, UINT uCommand, DWORD dwData,
                          POINT ptMouse, IDispatch* pDispatchObjectHit) override;
    // IOleCommandTarget: the script-error command of the host command group
    // only.
    STDMETHODIMP QueryStatus(const GUID* pguidCmdGroup, ULONG cCmds, OLECMD prgCmds[],
                             OLECMDTEXT*) override;
    STDMETHODIMP Exec(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD, VARIANT* pvaIn,
                      VARIANT* pvaOut) override;

private:
    CDocHostHandler& Handler() const;

    COleControlSite& m_site;
};
