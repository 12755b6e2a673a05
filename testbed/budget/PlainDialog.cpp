// The baseline for the wizard's start-up: the wizard window as the user first
// sees it and nothing of what it does. Its template (same controls), the image
// buttons' tooltip controls, its icon, title and background bitmap, common
// controls and OLE as the program initialises them; no log lines, timers,
// system-menu item, cursors, press tracking or first-paint fit.
#include "res/resource.h"
#include "testbed/budget/WindowTitle.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

namespace {

HBITMAP g_hBackground = nullptr;

void PaintBackground(HDC hDC) {
    BITMAP bm = {};
    if (g_hBackground == nullptr || !::GetObjectW(g_hBackground, sizeof(bm), &bm))
        return;
    HDC hMemDC = ::CreateCompatibleDC(hDC);
    HGDIOBJ hOld = ::SelectObject(hMemDC, g_hBackground);
    ::BitBlt(hDC, 0, 0, bm.bmWidth, bm.bmHeight, hMemDC, 0, 0, SRCCOPY);
    ::SelectObject(hMemDC, hOld);
    ::DeleteDC(hMemDC);
}

void AddToolTip(HWND hWnd, int nIdButton, LPCWSTR text) {
    HWND hButton = ::GetDlgItem(hWnd, nIdButton);
    HWND hTip = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_CLOSE | TTS_ALWAYSTIP,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  hButton, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    TTTOOLINFOW ti = {};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = hWnd;
    ti.uFlags = TTF_IDISHWND;
    ti.uId = reinterpret_cast<UINT_PTR>(hButton);
    ti.lpszText = const_cast<LPWSTR>(text);
    ::SendMessageW(hTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void OnInitDialog(HWND hWnd) {
    HICON hIcon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ::SendMessageW(hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(hIcon));
    ::SendMessageW(hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hIcon));
    ::SetWindowTextW(hWnd, QEL_WIZARD_TITLE);
    AddToolTip(hWnd, IDC_BTN_START, L"OK");
    AddToolTip(hWnd, IDC_BTN_CANCEL, L"CANCEL");
    AddToolTip(hWnd, IDC_BTN_TEST, L"OK");
}

INT_PTR CALLBACK PlainDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(hWnd);
        return TRUE;
    case WM_ERASEBKGND:
        PaintBackground(reinterpret_cast<HDC>(wParam));
        ::SetWindowLongPtrW(hWnd, DWLP_MSGRESULT, TRUE);
        return TRUE;
    case WM_CLOSE:
        ::EndDialog(hWnd, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&icc);
    const bool bOle = SUCCEEDED(::OleInitialize(nullptr));
    g_hBackground = ::LoadBitmapW(hInstance, MAKEINTRESOURCEW(IDB_BG_WIZARD));
    ::DialogBoxParamW(hInstance, MAKEINTRESOURCEW(IDD_WIZARD), nullptr, PlainDlgProc, 0);
    ::DeleteObject(g_hBackground);
    if (bOle)
        ::OleUninitialize();
    return 0;
}
