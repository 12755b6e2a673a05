// Background of a bitmap-skinned dialog: the bitmap painted 1:1 at the
// client area's origin, and on the first erase after initialisation the
// window sized to the bitmap and centred.
#pragma once

#include "framework/Bitmap.h"
#include "framework/DC.h"
#include "framework/Wnd.h"

class CSkinBackground {
public:
    // The DPI the skin's bitmaps are drawn for: every skinned dialog lays its
    // template out for it (CDialog::m_nLayoutDpi), whatever the system's.
    static const int LAYOUT_DPI = 96;

    // The body of every skinned dialog's OnEraseBkgnd; always TRUE.
    static BOOL OnEraseBkgnd(CWnd& wnd, CDC* pDC, CBitmap& background, int& bFirstPaint);
    // The body of a skinned dialog's OnCtlColor, given the base class's brush
    // (which the caller always asks for): statics transparent over the
    // bitmap, every other control the base brush.
    static HBRUSH CtlColor(CDC* pDC, UINT nCtlColor, HBRUSH hbrBase);
};
