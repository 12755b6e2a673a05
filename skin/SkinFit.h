// The fit of a bitmap-skinned dialog: on the first background erase after
// initialisation, once per dialog instance, the window takes the bitmap's
// size and is centred. Later erases, also after a move, leave it alone.
#pragma once

#include "framework/WinTypes.h"

class ISkinFitHost {
public:
    virtual ~ISkinFitHost() = default;
    // Gives the window this outer size, keeping its position and z-order.
    virtual void SetOuterSize(int cx, int cy) = 0;
    // Centres the window over its owner, or over the work area.
    virtual void Center() = 0;
};

class CSkinFit {
public:
    // Called on every erase with the bitmap's size. While bFirstPaint is 1 it
    // is cleared first, then the window is fitted and centred; without a
    // bitmap (bHaveBitmap FALSE) the window keeps its size and place.
    // Returns TRUE when it fitted the window.
    static BOOL OnErase(ISkinFitHost& host, int& bFirstPaint, BOOL bHaveBitmap, int cx, int cy);
};
