// Background of a bitmap-skinned dialog: the bitmap painted 1:1 at the
// client area's origin, and on the first erase after initialisation the
// window sized to the bitmap and centred.
#pragma once

#include "framework/Bitmap.h"
#include "framework/DC.h"
#include "framework/Wnd.h"

class CSkinBackground {
public:
    // The body of every skinned dialog's OnEraseBkgnd; always TRUE.
    static BOOL OnEraseBkgnd(CWnd& wnd, CDC* pDC, CBitmap& background, int& bFirstPaint);
};
