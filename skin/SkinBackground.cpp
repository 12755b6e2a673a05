#include "skin/SkinBackground.h"

BOOL CSkinBackground::OnEraseBkgnd(CWnd& wnd, CDC* pDC, CBitmap& background, int& bFirstPaint) {
    BITMAP bm = {};
    background.GetBitmap(&bm);

    CDC memDC;
    memDC.CreateCompatibleDC(pDC);
    HGDIOBJ hOld = memDC.SelectObject(background.GetSafeHandle());
    pDC->BitBlt(0, 0, bm.bmWidth, bm.bmHeight, &memDC, 0, 0, SRCCOPY);
    memDC.SelectObject(hOld);
    memDC.DeleteDC();

    if (bFirstPaint == 1) {
        bFirstPaint = 0;
        RECT rc;
        wnd.GetWindowRect(&rc);
        wnd.SetWindowPos(nullptr, rc.left, rc.top, bm.bmWidth, bm.bmHeight,
                         SWP_NOMOVE | SWP_NOZORDER);
        wnd.CenterWindow(nullptr);
    }
    return TRUE;
}

HBRUSH CSkinBackground::CtlColor(CDC* pDC, UINT nCtlColor, HBRUSH hbrBase) {
    if (nCtlColor != CTLCOLOR_STATIC)
        return hbrBase;
    pDC->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}
