#include "web/PopupWnd.h"

#include "framework/OleControlContainer.h"
#include "framework/WinApp.h"
#include "web/PageDialogHost.h"
#include "web/PagePopups.h"

namespace {

const char kClassName[] = "QelPagePopup";
const DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;

BOOL RegisterPopupClass() {
    WNDCLASSA wc = {};
    if (::GetClassInfoA(AfxGetInstanceHandle(), kClassName, &wc))
        return TRUE;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    return ::RegisterClassA(&wc) != 0;
}

} // namespace

BEGIN_EVENTSINK_MAP(CPopupWnd, CWnd)
ON_BEFORE_NAVIGATE2(CPopupWnd, IDC_POPUP_BROWSER)
ON_NEW_WINDOW2(CPopupWnd, IDC_POPUP_BROWSER)
ON_NEW_WINDOW3(CPopupWnd, IDC_POPUP_BROWSER)
ON_EVENT(CPopupWnd, IDC_POPUP_BROWSER, DISPID_TITLECHANGE, OnTitleChange, VTS_BSTR)
ON_EVENT(CPopupWnd, IDC_POPUP_BROWSER, DISPID_WINDOWSETLEFT, OnWindowSetLeft, VTS_I4)
ON_EVENT(CPopupWnd, IDC_POPUP_BROWSER, DISPID_WINDOWSETTOP, OnWindowSetTop, VTS_I4)
ON_EVENT(CPopupWnd, IDC_POPUP_BROWSER, DISPID_WINDOWSETWIDTH, OnWindowSetWidth, VTS_I4)
ON_EVENT(CPopupWnd, IDC_POPUP_BROWSER, DISPID_WINDOWSETHEIGHT, OnWindowSetHeight, VTS_I4)
ON_EVENT(CPopupWnd, IDC_POPUP_BROWSER, DISPID_WINDOWCLOSING, OnWindowClosing, VTS_BOOL VTS_PBOOL)
END_EVENTSINK_MAP()

CPopupWnd* CPopupWnd::Open(CPagePopups& popups, CWnd& owner) {
    if (owner.m_hWnd == nullptr || !RegisterPopupClass())
        return nullptr;
    RECT rcOwner;
    owner.GetWindowRect(&rcOwner);
    CPopupWnd* pPopup = new CPopupWnd(popups);
    HookWindowCreate(pPopup);
    ::CreateWindowExA(0, kClassName, "", kStyle, rcOwner.left, rcOwner.top,
                      rcOwner.right - rcOwner.left, rcOwner.bottom - rcOwner.top, owner.m_hWnd,
                      nullptr, AfxGetInstanceHandle(), nullptr);
    UnhookWindowCreate();
    if (pPopup->m_hWnd == nullptr) {
        delete pPopup;
        return nullptr;
    }
    RECT rcClient;
    pPopup->GetClientRect(&rcClient);
    if (!pPopup->m_browser.Create(nullptr, "", WS_CHILD | WS_VISIBLE, rcClient, pPopup,
                                  IDC_POPUP_BROWSER)) {
        pPopup->DestroyWindow(); // which deletes it
        return nullptr;
    }
    // Nothing dropped on the page is opened in it.
    pPopup->m_browser.SetRegisterAsDropTarget(FALSE);
    pPopup->Resize(rcClient.right, rcClient.bottom);
    pPopup->ShowWindow(SW_SHOWNORMAL);
    return pPopup;
}

IDispatch* CPopupWnd::GetBrowserDispatch() const {
    IUnknown* pUnk = m_browser.GetControlUnknown();
    IDispatch* pDisp = nullptr;
    if (pUnk != nullptr)
        pUnk->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&pDisp));
    return pDisp;
}

BOOL CPopupWnd::PreTranslateMessage(MSG* pMsg) {
    // The page sees its keys first, as in a page dialog.
    const bool bKey = pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST;
    if (!bKey || m_pCtrlCont == nullptr || (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)))
        return FALSE;
    return m_pCtrlCont->PreTranslateInput(pMsg);
}

LRESULT CPopupWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SIZE && m_browser.m_hWnd != nullptr)
        m_browser.MoveWindow(0, 0, LOWORD(lParam), HIWORD(lParam));
    return CWnd::WindowProc(message, wParam, lParam);
}

void CPopupWnd::PostNcDestroy() {
    m_popups.Remove(this);
    delete this;
}

void CPopupWnd::OnTitleChange(LPCTSTR lpszText) {
    SetWindowText(lpszText);
}

void CPopupWnd::OnWindowSetLeft(long nLeft) {
    RECT rc;
    GetWindowRect(&rc);
    m_bPlaced = true;
    SetWindowPos(nullptr, nLeft, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CPopupWnd::OnWindowSetTop(long nTop) {
    RECT rc;
    GetWindowRect(&rc);
    m_bPlaced = true;
    SetWindowPos(nullptr, rc.left, nTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CPopupWnd::OnWindowSetWidth(long nWidth) {
    RECT rc;
    GetClientRect(&rc);
    Resize(nWidth, rc.bottom);
}

void CPopupWnd::OnWindowSetHeight(long nHeight) {
    RECT rc;
    GetClientRect(&rc);
    Resize(rc.right, nHeight);
}

void CPopupWnd::OnWindowClosing(BOOL, VARIANT_BOOL*) {
    // Not while the control is still firing the event.
    PostMessage(WM_CLOSE);
}

void CPopupWnd::Recentre() {
    if (m_bPlaced)
        return;
    RECT rc;
    GetClientRect(&rc);
    Resize(rc.right, rc.bottom);
}

void CPopupWnd::Resize(int cx, int cy) {
    RECT rc = {0, 0, cx, cy};
    ::AdjustWindowRectEx(&rc, kStyle, FALSE, 0);
    const int cxWindow = rc.right - rc.left, cyWindow = rc.bottom - rc.top;
    RECT rcNow;
    GetWindowRect(&rcNow);
    int x = rcNow.left, y = rcNow.top;
    HWND hWndOwner = ::GetWindow(m_hWnd, GW_OWNER);
    if (!m_bPlaced && hWndOwner != nullptr) {
        RECT rcOwner;
        ::GetWindowRect(hWndOwner, &rcOwner);
        x = (rcOwner.left + rcOwner.right - cxWindow) / 2;
        y = (rcOwner.top + rcOwner.bottom - cyWindow) / 2;
    }
    SetWindowPos(nullptr, x, y, cxWindow, cyWindow, SWP_NOZORDER | SWP_NOACTIVATE);
}
