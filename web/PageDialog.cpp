#include "web/PageDialog.h"

void CPageDialog::OnDestroy() {
    m_popups.CloseAll();
    CDialog::OnDestroy();
}
