#include "skin/ImageButton.h"

CImageButton::CImageButton() = default;

CImageButton::~CImageButton() {
    if (m_hBmpDown != nullptr) {
        ::DeleteObject(m_hBmpDown);
        m_hBmpDown = nullptr;
    }
    if (m_hBmpUp != nullptr) {
        ::DeleteObject(m_hBmpUp);
        m_hBmpUp = nullptr;
    }
}

void CImageButton::InitButton() {
    // The picture the template gave the static is handed back to us to free.
    HBITMAP hOld = SetBitmap(m_hBmpUp);
    if (hOld != nullptr && hOld != m_hBmpUp && hOld != m_hBmpDown)
        ::DeleteObject(hOld);
}

void CImageButton::SetToolTip(LPCTSTR) {}

void CImageButton::ShowButton(int nShow) {
    m_bShown = nShow;
    ShowWindow(nShow == 1 ? SW_SHOW : SW_HIDE);
}

void CImageButton::SetActive(int bActive) {
    m_bActive = bActive;
}
