// The baseline for the wizard's start-up: the wizard window's template (same
// controls), its background bitmap and title, common controls and OLE as the
// program initialises them, and nothing else.
#include "res/resource.h"
#include "tools/budget/WindowTitle.h"

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

INT_PTR CALLBACK PlainDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        ::SetWindowTextW(hWnd, QEL_WIZARD_TITLE);
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
