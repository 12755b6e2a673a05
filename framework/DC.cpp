#include "framework/DC.h"

#include "framework/HandleCount.h"

CDC::~CDC() {
    DeleteDC();
}

BOOL CDC::Attach(HDC hDC) {
    if (m_hDC != nullptr || hDC == nullptr)
        return FALSE;
    m_hDC = hDC;
    m_bOwned = false;
    return TRUE;
}

HDC CDC::Detach() {
    HDC hDC = m_hDC;
    m_hDC = nullptr;
    m_bOwned = false;
    return hDC;
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
    DeleteDC();
    m_hDC = ::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr);
    m_bOwned = m_hDC != nullptr;
    if (m_bOwned)
        CHandleCount::Add(GR_GDIOBJECTS, 1);
    return m_hDC != nullptr;
}

BOOL CDC::DeleteDC() {
    if (m_hDC == nullptr || !m_bOwned)
        return FALSE;
    BOOL bResult = ::DeleteDC(m_hDC);
    CHandleCount::Add(GR_GDIOBJECTS, -1);
    m_hDC = nullptr;
    m_bOwned = false;
    return bResult;
}
