// CRgn: an owned GDI region.
#pragma once

#include "framework/GdiObject.h"

class CRgn : public CGdiObject {
public:
    operator HRGN() const { return static_cast<HRGN>(m_hObject); }
    BOOL CreateRectRgn(int x1, int y1, int x2, int y2) {
        return Attach(::CreateRectRgn(x1, y1, x2, y2));
    }
    BOOL PtInRegion(POINT point) const {
        return ::PtInRegion(static_cast<HRGN>(m_hObject), point.x, point.y);
    }
};
