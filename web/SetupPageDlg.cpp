#include "web/SetupPageDlg.h"

#include "framework/Static.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "skin/SkinBackground.h"
#include "web/HtmlDocument.h"
#include "web/PageCompletion.h"
#include "web/PageDialogHost.h"
#include "wizard/WizardServer.h"

CSetupPageDlg::CSetupPageDlg(CWnd* pParent) : CPageDialog(IDD_SETUP_PAGE, pParent) {
    m_nLayoutDpi = CSkinBackground::LAYOUT_DPI;
}

BEGIN_MESSAGE_MAP(CSetupPageDlg, CPageDialog)
ON_WM_ERASEBKGND()
ON_STN_CLICKED(IDC_BTN_OK, OnBtnOk)
ON_WM_CTLCOLOR()
ON_WM_DESTROY()
ON_WM_TIMER()
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(CSetupPageDlg, CDialog)
ON_DOCUMENT_COMPLETE(CSetupPageDlg, IDC_BROWSER_SETUP)
ON_BEFORE_NAVIGATE2(CSetupPageDlg, IDC_BROWSER_SETUP)
ON_NEW_WINDOW2(CSetupPageDlg, IDC_BROWSER_SETUP)
ON_NEW_WINDOW3(CSetupPageDlg, IDC_BROWSER_SETUP)
END_EVENTSINK_MAP()

void CSetupPageDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_BROWSER_SETUP, m_browser);
    DDX_Control(pDX, IDC_BTN_OK, m_btnOk);
}

BOOL CSetupPageDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // Nothing dropped on the page is opened in it.
    m_browser.SetRegisterAsDropTarget(FALSE);
    m_hBackground.Attach(::LoadBitmapA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDB_BG_SETUP)));
    m_btnOk.SetAccessibleName("확인");
    m_btnOk.UpdateTabStop(FALSE);
    m_browser.MoveWindow(0, 0, 0, 0, FALSE);
    const CString strAddress(WIZARD_URL_SETUP);
    m_bFirstPaint = 1;
    CPageDialogHost::Navigate(m_browser, strAddress);
    return TRUE;
}

BOOL CSetupPageDlg::OnEraseBkgnd(CDC* pDC) {
    return CSkinBackground::OnEraseBkgnd(*this, pDC, m_hBackground, m_bFirstPaint);
}

void CSetupPageDlg::OnBtnOk() {
    EndDialog(0);
}

HBRUSH CSetupPageDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    HBRUSH hbr = CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    return CSkinBackground::CtlColor(pDC, nCtlColor, hbr);
}

void CSetupPageDlg::OnDestroy() {
    CStatic::DeleteTemplateBitmap(m_btnOk.m_hWnd);
    CPageDialog::OnDestroy();
}

void CSetupPageDlg::OnTimer(UINT) {
    Default();
}

void CSetupPageDlg::OnDocumentComplete(LPDISPATCH pDisp, VARIANT* URL) {
    CPageDialogHost host(*this, m_browser, pDisp);
    CPageCompletion::SetupPage().OnDocumentComplete(host, AnsiFromVariant(URL), m_strResult);
}
