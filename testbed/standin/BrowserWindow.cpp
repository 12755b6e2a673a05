#include "testbed/standin/BrowserWindow.h"

#include "testbed/standin/WindowClass.h"

namespace {

const wchar_t kClassName[] = L"QelStandinBrowser";

} // namespace

CBrowserWindow::CBrowserWindow(IBrowserWindowEvents& owner) : m_owner(owner) {}

void CBrowserWindow::UnregisterWindowClass() {
    CWindowClass::Unregister(kClassName);
}

CBrowserWindow::~CBrowserWindow() {
    Destroy();
}

bool CBrowserWindow::Place(HWND hwndParent, const RECT& rc) {
    const bool bVisible = hwndParent != HWND_MESSAGE;
    if (m_hWnd) {
        SetParent(m_hWnd, hwndParent);
        Move(rc);
        ShowWindow(m_hWnd, bVisible ? SW_SHOWNA : SW_HIDE);
        return true;
    }
    CWindowClass::Register(kClassName, &CBrowserWindow::WndProc,
                           static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const DWORD dwStyle = WS_CHILD | WS_CLIPSIBLINGS | (bVisible ? WS_VISIBLE : 0);
    m_hWnd =
        CreateWindowExW(0, kClassName, L"", dwStyle, rc.left, rc.top, rc.right - rc.left,
                        rc.bottom - rc.top, hwndParent, nullptr, CWindowClass::Instance(), this);
    if (!m_hFont) {
        // Gulim is a Korean font (the prefix maps it to Baekmuk Gulim).
        m_hFont = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, HANGEUL_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                              DEFAULT_PITCH, L"Gulim");
    }
    return m_hWnd != nullptr;
}

void CBrowserWindow::Move(const RECT& rc) {
    if (m_hWnd)
        MoveWindow(m_hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
}

void CBrowserWindow::Destroy() {
    if (m_hWnd) {
        KillTimer(m_hWnd, IDT_REFRESH);
        KillTimer(m_hWnd, IDT_FRAME_REFRESH);
        const HWND hWnd = m_hWnd;
        m_hWnd = nullptr;
        SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
        DestroyWindow(hWnd);
    }
    if (m_hFont) {
        DeleteObject(m_hFont);
        m_hFont = nullptr;
    }
}

void CBrowserWindow::SetText(const std::wstring& strText) {
    m_strText = strText;
    if (m_hWnd)
        InvalidateRect(m_hWnd, nullptr, TRUE);
}

LRESULT CALLBACK CBrowserWindow::WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg == WM_NCCREATE) {
        auto* pCreate = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pCreate->lpCreateParams));
    }
    auto* pThis = reinterpret_cast<CBrowserWindow*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (pThis) {
        switch (nMsg) {
        case WM_PAINT:
            pThis->OnPaint();
            return 0;
        case WM_TIMER:
            if (wParam == IDT_REFRESH || wParam == IDT_FRAME_REFRESH) {
                KillTimer(hWnd, wParam);
                if (wParam == IDT_REFRESH)
                    pThis->m_owner.OnRefreshTimer();
                else
                    pThis->m_owner.OnFrameRefreshTimer();
            }
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            // The control takes the focus when clicked, so keys go to it.
            SetFocus(hWnd);
            return 0;
        case WM_CONTEXTMENU: {
            POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            pThis->m_owner.OnContextMenu(pt);
            return 0;
        }
        case WM_QEL_FETCHED:
            pThis->m_owner.OnFetched(static_cast<UINT>(wParam));
            return 0;
        case WM_QEL_FRAME_FETCHED:
            pThis->m_owner.OnFrameFetched(static_cast<UINT>(wParam));
            return 0;
        case WM_NCDESTROY:
            // Destroyed with the container's window, before Close.
            pThis->m_hWnd = nullptr;
            SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
            break;
        default:
            break;
        }
    }
    return DefWindowProcW(hWnd, nMsg, wParam, lParam);
}

void CBrowserWindow::OnPaint() {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(m_hWnd, &ps);
    RECT rc;
    GetClientRect(m_hWnd, &rc);
    InflateRect(&rc, -4, -4);
    HGDIOBJ hOld = SelectObject(hdc, m_hFont ? m_hFont : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(hdc, TRANSPARENT);
    DrawTextW(hdc, m_strText.c_str(), static_cast<int>(m_strText.size()), &rc,
              DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(hdc, hOld);
    EndPaint(m_hWnd, &ps);
}
