// CBitmap: an owned GDI bitmap.
#pragma once

#include "framework/GdiObject.h"

class CBitmap : public CGdiObject {
public:
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
    BOOL LoadBitmap(UINT nIDResource);
    int GetBitmap(BITMAP* pBitmap) const {
        return ::GetObjectA(m_hObject, sizeof(BITMAP), pBitmap);
    }
};
