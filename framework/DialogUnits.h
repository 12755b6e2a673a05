// CDialogUnits: dialog units to pixels for one pair of dialog base units, as
// the system lays out a template: each of a control's x, y, width and height
// is rounded on its own (MulDiv), x and width in quarters of the horizontal
// base unit, y and height in eighths of the vertical one.
#pragma once

#include "framework/DialogTemplate.h"

class CDialogUnits {
public:
    // A place in pixels: the position and size that CreateWindow takes.
    struct CPlace {
        int x = 0, y = 0, cx = 0, cy = 0;
        bool operator==(const CPlace& o) const {
            return x == o.x && y == o.y && cx == o.cx && cy == o.cy;
        }
    };

    CDialogUnits(int cxBase, int cyBase) : m_cxBase(cxBase), m_cyBase(cyBase) {}

    // The base units of a font as the system computes them: the average
    // width of the 52 letters "A".."Z", "a".."z" (cxAlphabet is their
    // extent together), rounded, and the font's character height.
    static CDialogUnits FromFontMetrics(int cxAlphabet, int cyHeight);
    // The pixel height of a font of nPointSize points at nDpi pixels per inch.
    static int PointsToPixels(int nPointSize, int nDpi) { return MulDiv(nPointSize, nDpi, 72); }
    // n * nNumerator / nDenominator rounded to the nearest, halves away from
    // zero, as the system's MulDiv; -1 for a zero denominator.
    static int MulDiv(int n, int nNumerator, int nDenominator);

    int MapX(int x) const { return MulDiv(x, m_cxBase, 4); }
    int MapY(int y) const { return MulDiv(y, m_cyBase, 8); }
    CPlace Map(int x, int y, int cx, int cy) const {
        return CPlace{MapX(x), MapY(y), MapX(cx), MapY(cy)};
    }
    CPlace MapItem(const CDialogTemplate::CItem& item) const {
        return Map(item.x, item.y, item.cx, item.cy);
    }

    int m_cxBase;
    int m_cyBase;
};
