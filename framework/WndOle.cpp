// The ActiveX containment side of CWnd: its control container, the site of a
// control window, control creation, moving a control through its site and
// automation calls on a control.
#include "framework/Wnd.h"

#include "framework/ComPtr.h"
#include "framework/OleControlContainer.h"
#include "framework/OleControlSite.h"
#include "framework/OleDispatch.h"

COleControlContainer* CWnd::GetControlContainer() {
    if (m_pCtrlCont == nullptr)
        m_pCtrlCont = new COleControlContainer(this);
    return m_pCtrlCont;
}

COleControlSite* CWnd::GetControlSite() const {
    CWnd* pParent = m_hWnd ? FromHandlePermanent(::GetParent(m_hWnd)) : nullptr;
    return pParent && pParent->m_pCtrlCont ? pParent->m_pCtrlCont->FindItem(m_hWnd) : nullptr;
}

IUnknown* CWnd::GetControlUnknown() const {
    COleControlSite* pSite = GetControlSite();
    return pSite ? pSite->GetControlUnknown() : nullptr;
}

BOOL CWnd::CreateControl(REFCLSID clsid, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                         CWnd* pParentWnd, UINT nID) {
    if (m_hWnd != nullptr || pParentWnd == nullptr || pParentWnd->m_hWnd == nullptr)
        return FALSE;
    COleControlSite* pSite =
        pParentWnd->GetControlContainer()->CreateControl(clsid, lpszWindowName, dwStyle, rect, nID);
    return pSite != nullptr && SubclassWindow(pSite->GetHwnd());
}

void CWnd::InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                        const BYTE* pbParamInfo, ...) {
    CComPtr<IUnknown> pUnk = GetControlUnknown();
    CComPtr<IDispatch> pDisp;
    if (pUnk != nullptr)
        pUnk.QueryInterface(&pDisp);
    va_list args;
    va_start(args, pbParamInfo);
    AfxInvokeHelperV(pDisp, dwDispID, wFlags, vtRet, pvRet, pbParamInfo, args);
    va_end(args);
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint) {
    // A hosted control also learns its new place through its site.
    if (COleControlSite* pSite = GetControlSite()) {
        pSite->MoveWindow(RECT{x, y, x + nWidth, y + nHeight});
        return;
    }
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}

void CWnd::ReleaseControlContainer() {
    COleControlContainer* pCtrlCont = m_pCtrlCont;
    m_pCtrlCont = nullptr;
    if (pCtrlCont != nullptr) {
        pCtrlCont->Detach();
        pCtrlCont->Release();
    }
}
