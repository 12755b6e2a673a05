#include "framework/DocHostSite.h"

#include "framework/DocHostHandler.h"
#include "framework/OleControlSite.h"

namespace {

// IID_IDocHostShowUI, which the import libraries do not hold.
const IID kIidDocHostShowUI = {
    0xc4d244b0, 0xd43e, 0x11cf, {0x89, 0x3b, 0x00, 0xaa, 0x00, 0xbd, 0xce, 0x1a}};

// CGID_DocHostCommandHandler: commands the browser passes to its host.
const GUID kCgidDocHostCommandHandler = {
    0xf38bc242, 0xb950, 0x11d1, {0x89, 0x18, 0x00, 0xc0, 0x4f, 0xc2, 0xc8, 0x36}};

// NULL through an out-pointer, and the answer for "nothing of the host's".
template <typename T> HRESULT NoneOut(T** pp, HRESULT hr) {
    if (pp == nullptr)
        return E_POINTER;
    *pp = nullptr;
    return hr;
}

} // namespace

IUnknown* CDocHostSite::Find(REFIID riid) {
    IUnknown* pUnk = nullptr;
    if (riid == IID_IDocHostUIHandler)
        pUnk = static_cast<IDocHostUIHandler*>(this);
    else if (riid == kIidDocHostShowUI)
        pUnk = static_cast<IDocHostShowUI*>(this);
    else if (riid == IID_IOleCommandTarget)
        pUnk = static_cast<IOleCommandTarget*>(this);
    return pUnk;
}

STDMETHODIMP CDocHostSite::QueryInterface(REFIID riid, void** ppv) {
    return m_site.QueryInterface(riid, ppv);
}

STDMETHODIMP_(ULONG) CDocHostSite::AddRef() {
    return m_site.AddRef();
}

STDMETHODIMP_(ULONG) CDocHostSite::Release() {
    return m_site.Release();
}

CDocHostHandler& CDocHostSite::Handler() const {
    CDocHostHandler* pHandler = m_site.GetDocHostHandler();
    return pHandler ? *pHandler : CDocHostHandler::GetDefault();
}

STDMETHODIMP CDocHostSite::ShowContextMenu(DWORD dwID, POINT* ppt, IUnknown* pcmdtReserved,
                                           IDispatch* pdispReserved) {
    return Handler().ShowContextMenu(dwID, ppt, pcmdtReserved, pdispReserved);
}

STDMETHODIMP CDocHostSite::GetHostInfo(DOCHOSTUIINFO* pInfo) {
    return Handler().GetHostInfo(pInfo);
}

STDMETHODIMP CDocHostSite::TranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup,
                                                DWORD nCmdID) {
    return Handler().TranslateAccelerator(lpMsg, pguidCmdGroup, nCmdID);
}

STDMETHODIMP CDocHostSite::GetOptionKeyPath(LPOLESTR* pchKey, DWORD) {
    return NoneOut(pchKey, S_FALSE); // the browser's own settings
}

STDMETHODIMP CDocHostSite::GetDropTarget(IDropTarget*, IDropTarget** ppDropTarget) {
    return NoneOut(ppDropTarget, E_NOTIMPL);
}

STDMETHODIMP CDocHostSite::GetExternal(IDispatch** ppDispatch) {
    return NoneOut(ppDispatch, S_FALSE); // window.external is null
}

STDMETHODIMP CDocHostSite::TranslateUrl(DWORD, LPWSTR, LPWSTR* ppchURLOut) {
    return NoneOut(ppchURLOut, S_FALSE);
}

STDMETHODIMP CDocHostSite::FilterDataObject(IDataObject*, IDataObject** ppDORet) {
    return NoneOut(ppDORet, S_FALSE);
}

STDMETHODIMP CDocHostSite::ShowMessage(HWND hwnd, LPOLESTR lpstrText, LPOLESTR lpstrCaption,
                                       DWORD dwType, LPOLESTR lpstrHelpFile, DWORD dwHelpContext,
                                       LRESULT* plResult) {
    return Handler().ShowMessage(hwnd, lpstrText, lpstrCaption, dwType, lpstrHelpFile,
                                 dwHelpContext, plResult);
}

STDMETHODIMP CDocHostSite::ShowHelp(HWND hwnd, LPOLESTR pszHelpFile, UINT uCommand, DWORD dwData,
                                    POINT ptMouse, IDispatch* pDispatchObjectHit) {
    return Handler().ShowHelp(hwnd, pszHelpFile, uCommand, dwData, ptMouse, pDispatchObjectHit);
}

STDMETHODIMP CDocHostSite::QueryStatus(const GUID* pguidCmdGroup, ULONG cCmds, OLECMD prgCmds[],
                                       OLECMDTEXT*) {
    if (prgCmds == nullptr)
        return E_POINTER;
    // The standard group (NULL) is known, with none of its commands supported.
    const bool bHostGroup =
        pguidCmdGroup != nullptr && *pguidCmdGroup == kCgidDocHostCommandHandler;
    if (pguidCmdGroup != nullptr && !bHostGroup)
        return OLECMDERR_E_UNKNOWNGROUP;
    for (ULONG i = 0; i < cCmds; ++i)
        prgCmds[i].cmdf = bHostGroup && prgCmds[i].cmdID == OLECMDID_SHOWSCRIPTERROR
                              ? static_cast<DWORD>(OLECMDF_SUPPORTED | OLECMDF_ENABLED)
                              : 0;
    return S_OK;
}

STDMETHODIMP CDocHostSite::Exec(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD, VARIANT* pvaIn,
                                VARIANT* pvaOut) {
    if (pguidCmdGroup != nullptr && *pguidCmdGroup != kCgidDocHostCommandHandler)
        return OLECMDERR_E_UNKNOWNGROUP;
    if (pguidCmdGroup == nullptr || nCmdID != OLECMDID_SHOWSCRIPTERROR)
        return OLECMDERR_E_NOTSUPPORTED;
    return Handler().OnScriptError(pvaIn, pvaOut);
}
