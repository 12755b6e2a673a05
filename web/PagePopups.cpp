#include "web/PagePopups.h"

#include "web/NavigationScheme.h"
#include "web/PopupWnd.h"

#include <algorithm>

CPagePopups::~CPagePopups() {
    CloseAll();
}

void CPagePopups::OnNewWindow(IDispatch** ppDisp, VARIANT_BOOL* Cancel, LPCTSTR lpszUrl) {
    if (ppDisp == nullptr || Cancel == nullptr || *Cancel != VARIANT_FALSE)
        return;
    if (lpszUrl != nullptr && !CNavigationScheme::IsAllowed(lpszUrl)) {
        *Cancel = VARIANT_TRUE;
        return;
    }
    if (*ppDisp != nullptr)
        return;
    CPopupWnd* pPopup = CPopupWnd::Open(*this, m_owner);
    if (pPopup == nullptr) {
        *Cancel = VARIANT_TRUE;
        return;
    }
    m_popups.push_back(pPopup);
    *ppDisp = pPopup->GetBrowserDispatch();
}

void CPagePopups::CloseAll() {
    while (!m_popups.empty()) {
        CPopupWnd* pPopup = m_popups.back();
        m_popups.pop_back();
        pPopup->DestroyWindow(); // which deletes it
    }
}

void CPagePopups::OnOwnerMoved() {
    for (CPopupWnd* pPopup : m_popups)
        pPopup->Recentre();
}

void CPagePopups::Remove(CPopupWnd* pPopup) {
    m_popups.erase(std::remove(m_popups.begin(), m_popups.end(), pPopup), m_popups.end());
}
