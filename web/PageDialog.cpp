#include "web/PageDialog.h"

#include "web/PageDialogHost.h"

void CPageDialog::OnDestroy() {
    m_popups.CloseAll();
    CDialog::OnDestroy();
}

void CPageDialog::OnBeforeNavigate2(LPDISPATCH, VARIANT* URL, VARIANT*, VARIANT*, VARIANT*,
                                    VARIANT*, VARIANT_BOOL* Cancel) {
    CPageDialogHost::CancelForeignScheme(URL, Cancel);
}

void CPageDialog::OnNewWindow2(LPDISPATCH* ppDisp, VARIANT_BOOL* Cancel) {
    m_popups.OnNewWindow(ppDisp, Cancel, nullptr);
}

void CPageDialog::OnNewWindow3(LPDISPATCH* ppDisp, VARIANT_BOOL* Cancel, long, LPCTSTR,
                               LPCTSTR lpszUrl) {
    m_popups.OnNewWindow(ppDisp, Cancel, lpszUrl);
}
