#include "skin/SkinBackground.h"

#include "skin/SkinFit.h"

namespace {

class CWndFitHost : public ISkinFitHost {
public:
    explicit CWndFitHost(CWnd& wnd) : m_wnd(wnd) {}

    void SetOuterSize(int cx, int cy) override {
        RECT rc;
        m_wnd.GetWindowRect(&rc);
        m_wnd.SetWindowPos(nullptr, rc.left, rc.top, cx, cy, SWP_NOMOVE | SWP_NOZORDER);
    }
    void Center() override { m_wnd.CenterWindow(nullptr); }

private:
    CWnd& m_wnd;
};

} // namespace

BOOL CSkinBackground::OnEraseBkgnd(CWnd& wnd, CDC* pDC, CBitmap& background, int& bFirstPaint) {
    // A bitmap that is missing or unreadable is neither painted nor fitted to.
    BITMAP bm = {};
    const BOOL bHaveBitmap = background.GetSafeHandle() != nullptr && background.GetBitmap(&bm);
    if (bHaveBitmap) {
        CDC memDC;
        memDC.CreateCompatibleDC(pDC);
        HGDIOBJ hOld = memDC.SelectObject(background.GetSafeHandle());
        pDC->BitBlt(0, 0, bm.bmWidth, bm.bmHeight, &memDC, 0, 0, SRCCOPY);
        memDC.SelectObject(hOld);
        memDC.DeleteDC();
    }

    CWndFitHost host(wnd);
    CSkinFit::OnErase(host, bFirstPaint, bHaveBitmap, bm.bmWidth, bm.bmHeight);
    return TRUE;
}

HBRUSH CSkinBackground::CtlColor(CDC* pDC, UINT nCtlColor, HBRUSH hbrBase) {
    if (nCtlColor != CTLCOLOR_STATIC)
        return hbrBase;
    pDC->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}
