// CGdiObject: owns one GDI object handle and deletes it with itself.
#pragma once

#include "framework/HandleCount.h"
#include "framework/WinTypes.h"

class CGdiObject {
public:
    CGdiObject() = default;
    virtual ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ m_hObject = nullptr;

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    // Takes ownership of h, releasing any object held before.
    BOOL Attach(HGDIOBJ h) {
        DeleteObject();
        m_hObject = h;
        if (h != nullptr)
            CHandleCount::Add(GR_GDIOBJECTS, 1);
        return h != nullptr;
    }
    HGDIOBJ Detach() {
        HGDIOBJ h = m_hObject;
        if (h != nullptr)
            CHandleCount::Add(GR_GDIOBJECTS, -1);
        m_hObject = nullptr;
        return h;
    }
    BOOL DeleteObject() {
        if (m_hObject == nullptr)
            return FALSE;
        BOOL bResult = ::DeleteObject(Detach());
        return bResult;
    }
};
