// Small value types of the class library: CPoint, CRect.
#pragma once

#include "framework/WinTypes.h"

class CPoint : public POINT {
public:
    CPoint() { x = y = 0; }
    CPoint(int nX, int nY) {
        x = nX;
        y = nY;
    }
    explicit CPoint(LPARAM lParam) {
        x = static_cast<short>(LOWORD(lParam));
        y = static_cast<short>(HIWORD(lParam));
    }
};

class CRect : public RECT {
public:
    CRect() { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    operator LPRECT() { return this; }
    operator const RECT*() const { return this; }
};
