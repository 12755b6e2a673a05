#include "web/SetupPageDlg.h"

#include "framework/OleVariant.h"
#include "res/resource.h"
#include "web/WizardServer.h"

CSetupPageDlg::CSetupPageDlg(CWnd* pParent) : CDialog(IDD_SETUP_PAGE, pParent) {}

BEGIN_MESSAGE_MAP(CSetupPageDlg, CDialog)
ON_STN_CLICKED(IDC_BTN_OK, OnBtnOk)
END_MESSAGE_MAP()

void CSetupPageDlg::OnBtnOk() {
    EndDialog(0);
}

void CSetupPageDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_BROWSER_SETUP, m_browser);
}

BOOL CSetupPageDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    COleVariant url(WIZARD_URL_SETUP), empty;
    m_browser.Navigate2(&url, &empty, &empty, &empty, &empty);
    return TRUE;
}
