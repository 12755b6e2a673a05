#include "tests/win/TestDocHost.h"

namespace {
// CGID_DocHostCommandHandler (mshtmhst.h), not in the import libraries.
const GUID kCgidDocHostCommandHandler = {
    0xF38BC242, 0xB950, 0x11D1, {0x89, 0x18, 0x00, 0xC0, 0x4F, 0xC2, 0xC8, 0x36}};
} // namespace

HRESULT CTestDocHost::QueryInterface(REFIID riid, void** ppv) {
    if (IsEqualIID(riid, IID_IDocHostUIHandler))
        *ppv = static_cast<IDocHostUIHandler*>(this);
    else if (IsEqualIID(riid, IID_IOleCommandTarget))
        *ppv = static_cast<IOleCommandTarget*>(this);
    else
        *ppv = nullptr;
    if (!*ppv)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG CTestDocHost::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&m_nRef));
}

ULONG CTestDocHost::Release() {
    const LONG n = InterlockedDecrement(&m_nRef);
    if (n == 0)
        delete this;
    return static_cast<ULONG>(n);
}

HRESULT CTestDocHost::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) {
    ++m_nContextMenus;
    return m_hrAnswer;
}

HRESULT CTestDocHost::GetHostInfo(DOCHOSTUIINFO* pInfo) {
    ++m_nHostInfo;
    pInfo->dwFlags = DOCHOSTUIFLAG_DISABLE_HELP_MENU;
    pInfo->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
}

HRESULT CTestDocHost::TranslateAccelerator(LPMSG pMsg, const GUID*, DWORD) {
    if (pMsg->message == WM_KEYDOWN)
        m_vecKeysDown.push_back(pMsg->wParam);
    return m_hrAnswer;
}

// A script error handled, the page's scripts going on.
HRESULT CTestDocHost::Exec(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD, VARIANT*,
                           VARIANT* pvaOut) {
    if (!pguidCmdGroup || !IsEqualGUID(*pguidCmdGroup, kCgidDocHostCommandHandler) ||
        nCmdID != OLECMDID_SHOWSCRIPTERROR)
        return OLECMDERR_E_NOTSUPPORTED;
    ++m_nScriptErrors;
    if (m_hrAnswer != S_OK)
        return OLECMDERR_E_NOTSUPPORTED;
    if (pvaOut) {
        pvaOut->vt = VT_BOOL;
        pvaOut->boolVal = VARIANT_TRUE;
    }
    return S_OK;
}
