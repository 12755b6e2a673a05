#include "web/PageDialog.h"

LRESULT CPageDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT lResult = CPageEvents::WindowProc(message, wParam, lParam);
    // The dialog fits itself to its background at its first erase, which may
    // come after a page has opened a pop-up: the pop-ups follow it.
    if (message == WM_WINDOWPOSCHANGED) {
        const UINT nFlags = reinterpret_cast<const WINDOWPOS*>(lParam)->flags;
        if ((nFlags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE))
            m_popups.OnOwnerMoved();
    }
    return lResult;
}

void CPageDialog::OnDestroy() {
    m_popups.CloseAll();
    CDialog::OnDestroy();
}
