// CFont: an owned GDI font.
#pragma once

#include "framework/GdiObject.h"

class CFont : public CGdiObject {
public:
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
    BOOL CreateFontIndirect(const LOGFONTW* pLogFont) {
        return Attach(::CreateFontIndirectW(pLogFont));
    }
};
