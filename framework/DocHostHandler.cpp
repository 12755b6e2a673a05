#include "framework/DocHostHandler.h"

#include "framework/HostKeys.h"

CDocHostHandler::CDocHostHandler()
    : m_dwHostFlags(DOCHOSTUIFLAG_DISABLE_HELP_MENU | DOCHOSTUIFLAG_LOCAL_MACHINE_ACCESS_CHECK |
                    DOCHOSTUIFLAG_DISABLE_UNTRUSTEDPROTOCOL) {}

CDocHostHandler& CDocHostHandler::GetDefault() {
    static CDocHostHandler s_default;
    return s_default;
}

HRESULT CDocHostHandler::GetHostInfo(DOCHOSTUIINFO* pInfo) {
    if (pInfo == nullptr)
        return E_POINTER;
    pInfo->dwFlags = m_dwHostFlags;
    pInfo->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    pInfo->pchHostCss = nullptr;
    pInfo->pchHostNS = nullptr;
    return S_OK;
}

HRESULT CDocHostHandler::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) {
    return S_OK;
}

HRESULT CDocHostHandler::TranslateAccelerator(LPMSG lpMsg, const GUID*, DWORD) {
    if (lpMsg == nullptr || (lpMsg->message != WM_KEYDOWN && lpMsg->message != WM_SYSKEYDOWN))
        return S_FALSE;
    UINT nModifiers = 0;
    if (::GetKeyState(VK_CONTROL) < 0)
        nModifiers |= CHostKeys::CTRL;
    // Bit 29 of a system key's lParam: Alt is down.
    if (::GetKeyState(VK_MENU) < 0 ||
        (lpMsg->message == WM_SYSKEYDOWN && (lpMsg->lParam >> 29) & 1))
        nModifiers |= CHostKeys::ALT;
    if (::GetKeyState(VK_SHIFT) < 0)
        nModifiers |= CHostKeys::SHIFT;
    return CHostKeys::IsBrowserCommand(static_cast<UINT>(lpMsg->wParam), nModifiers) ? S_OK
                                                                                     : S_FALSE;
}

HRESULT CDocHostHandler::ShowHelp(HWND, LPOLESTR, UINT, DWORD, POINT, IDispatch*) {
    return S_OK;
}

HRESULT CDocHostHandler::ShowMessage(HWND, LPOLESTR, LPOLESTR, DWORD, LPOLESTR, DWORD, LRESULT*) {
    return S_FALSE;
}

HRESULT CDocHostHandler::OnScriptError(VARIANT*, VARIANT* pvaOut) {
    if (pvaOut != nullptr) {
        pvaOut->vt = VT_BOOL;
        pvaOut->boolVal = VARIANT_TRUE;
    }
    return S_OK;
}
