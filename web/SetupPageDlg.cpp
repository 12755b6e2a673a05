#include "web/SetupPageDlg.h"

#include "res/resource.h"

CSetupPageDlg::CSetupPageDlg(CWnd* pParent) : CDialog(IDD_SETUP_PAGE, pParent) {}

BEGIN_MESSAGE_MAP(CSetupPageDlg, CDialog)
ON_STN_CLICKED(IDC_BTN_OK, OnBtnOk)
END_MESSAGE_MAP()

void CSetupPageDlg::OnBtnOk() {
    EndDialog(0);
}
