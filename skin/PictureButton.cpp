#include "skin/PictureButton.h"

#include "framework/Convert.h"
#include "framework/SystemLibrary.h"

CPictureButton::~CPictureButton() {
    ReleaseAccessible();
}

void CPictureButton::SetAccessibleName(LPCTSTR name) {
    m_strAccName = AfxA2W(name);
}

void CPictureButton::SetAccessibleDescription(LPCTSTR description) {
    m_strAccDescription = AfxA2W(description);
}

BOOL CPictureButton::IsLive() const {
    // The style, not IsWindowVisible: a dialog sets its buttons up before it shows.
    return (GetStyle() & WS_VISIBLE) != 0 && ::IsWindowEnabled(m_hWnd);
}

void CPictureButton::UpdateTabStop(BOOL bHadFocus) {
    const BOOL bLive = IsLive();
    const DWORD dwStyle = GetStyle();
    const DWORD dwWanted = bLive ? dwStyle | WS_TABSTOP : dwStyle & ~WS_TABSTOP;
    if (dwWanted != dwStyle)
        ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(dwWanted));
    if (bLive || !bHadFocus)
        return;
    const HWND hDlg = ::GetParent(m_hWnd);
    const HWND hNext = ::GetNextDlgTabItem(hDlg, m_hWnd, FALSE);
    if (hNext != nullptr && hNext != m_hWnd)
        ::SendMessageA(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hNext), TRUE);
}

void CPictureButton::Click() {
    ::SendMessageA(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), STN_CLICKED),
                   reinterpret_cast<LPARAM>(m_hWnd));
}

LONG CPictureButton::GetAccState() {
    LONG state = m_bPressed ? STATE_SYSTEM_PRESSED : 0;
    if (!IsLive())
        state |= STATE_SYSTEM_UNAVAILABLE;
    return state;
}

LRESULT CPictureButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const int bLive = IsLive() ? 1 : 0;
    switch (message) {
    case WM_GETDLGCODE:
        // A button, but never the default one: Enter stays the dialog's.
        return DLGC_BUTTON;
    case WM_KEYDOWN:
        if (wParam != VK_SPACE)
            break;
        CPressTracker::OnSpaceDown(*this, bLive, 1, m_bKeyDown);
        return 0;
    case WM_KEYUP:
        if (wParam != VK_SPACE)
            break;
        CPressTracker::OnSpaceUp(*this, bLive, 1, m_bKeyDown);
        return 0;
    case BM_CLICK:
        if (bLive)
            Click();
        return 0;
    case WM_KILLFOCUS:
        CPressTracker::OnFocusLost(*this, m_bKeyDown);
        Invalidate(FALSE);
        break;
    case WM_SETFOCUS:
    case WM_UPDATEUISTATE:
        Invalidate(FALSE);
        break;
    case WM_PAINT:
        return OnPaint(wParam, lParam);
    case WM_GETOBJECT:
        return OnGetObject(wParam, lParam);
    case WM_DESTROY:
        ReleaseAccessible();
        break;
    default:
        break;
    }
    return CStatic::WindowProc(message, wParam, lParam);
}

LRESULT CPictureButton::OnPaint(WPARAM wParam, LPARAM lParam) {
    // The whole picture is drawn again, so the focus rectangle is drawn once
    // over a fresh picture.
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    const LRESULT lResult = CStatic::WindowProc(WM_PAINT, wParam, lParam);
    const LRESULT lUiState = ::SendMessageA(m_hWnd, WM_QUERYUISTATE, 0, 0);
    if (HasFocus() && (lUiState & UISF_HIDEFOCUS) == 0) {
        RECT rc;
        GetClientRect(&rc);
        ::InflateRect(&rc, -2, -2);
        HDC hDC = ::GetDC(m_hWnd);
        ::DrawFocusRect(hDC, &rc);
        ::ReleaseDC(m_hWnd, hDC);
    }
    return lResult;
}

LRESULT CPictureButton::OnGetObject(WPARAM wParam, LPARAM lParam) {
    if (static_cast<LONG>(lParam) != OBJID_CLIENT)
        return CStatic::WindowProc(WM_GETOBJECT, wParam, lParam);
    if (m_pAccessible == nullptr)
        m_pAccessible = new CAccessibleButton(m_hWnd, this, m_strAccName, m_strAccDescription);
    return AfxLresultFromObject(__uuidof(IAccessible), wParam, m_pAccessible);
}

void CPictureButton::ReleaseAccessible() {
    if (m_pAccessible == nullptr)
        return;
    m_pAccessible->Disconnect();
    m_pAccessible->Release();
    m_pAccessible = nullptr;
}
