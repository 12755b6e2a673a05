#include "skin/SkinFit.h"

BOOL CSkinFit::OnErase(ISkinFitHost& host, int& bFirstPaint, BOOL bHaveBitmap, int cx, int cy) {
    if (bFirstPaint != 1)
        return FALSE;
    // Cleared before anything moves, so the erases that the fit causes
    // do not fit again.
    bFirstPaint = 0;
    if (!bHaveBitmap)
        return FALSE;
    host.SetOuterSize(cx, cy);
    host.Center();
    return TRUE;
}
