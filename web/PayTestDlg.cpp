#include "web/PayTestDlg.h"

#include "framework/WinApp.h"
#include "res/resource.h"
#include "skin/SkinBackground.h"
#include "web/HtmlDocument.h"
#include "web/PageCompletion.h"
#include "web/PageDialogHost.h"
#include "web/PayTestCountdown.h"

CPayTestDlg::CPayTestDlg(CWnd* pParent) : CPageDialog(IDD_PAYTEST, pParent) {
    m_nLayoutDpi = CSkinBackground::LAYOUT_DPI;
}

BEGIN_MESSAGE_MAP(CPayTestDlg, CPageDialog)
ON_WM_CTLCOLOR()
ON_WM_DESTROY()
ON_WM_ERASEBKGND()
ON_WM_TIMER()
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(CPayTestDlg, CDialog)
ON_DOCUMENT_COMPLETE(CPayTestDlg, IDC_BROWSER_PAYTEST)
ON_BEFORE_NAVIGATE2(CPayTestDlg, IDC_BROWSER_PAYTEST)
ON_NEW_WINDOW2(CPayTestDlg, IDC_BROWSER_PAYTEST)
ON_NEW_WINDOW3(CPayTestDlg, IDC_BROWSER_PAYTEST)
END_EVENTSINK_MAP()

void CPayTestDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_BROWSER_PAYTEST, m_browser);
}

BOOL CPayTestDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // Nothing dropped on the page is opened in it.
    m_browser.SetRegisterAsDropTarget(FALSE);
    m_browser.MoveWindow(0, 0, 0, 0, FALSE);
    m_hBackground.Attach(::LoadBitmapA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDB_BG_PAYTEST)));
    m_nCountdown = 0;
    m_bFirstPaint = 1;
    m_strResult = "";
    StartPayTest();
    return TRUE;
}

void CPayTestDlg::StartPayTest() {
    m_nCountdown = CPayTestCountdown::TICKS;
    SetTimer(CPayTestCountdown::TIMER_ID, CPayTestCountdown::TIMER_ELAPSE, nullptr);
    CPageDialogHost::Navigate(m_browser, m_strUrl);
}

HBRUSH CPayTestDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    HBRUSH hbr = CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    return CSkinBackground::CtlColor(pDC, nCtlColor, hbr);
}

void CPayTestDlg::OnDestroy() {
    CPageDialog::OnDestroy();
}

BOOL CPayTestDlg::OnEraseBkgnd(CDC* pDC) {
    return CSkinBackground::OnEraseBkgnd(*this, pDC, m_hBackground, m_bFirstPaint);
}

void CPayTestDlg::OnTimer(UINT) {
    CPageDialogHost host(*this, m_browser);
    CPayTestCountdown::OnTick(m_nCountdown, m_strResult, host);
}

void CPayTestDlg::OnDocumentComplete(LPDISPATCH pDisp, VARIANT* URL) {
    CPageDialogHost host(*this, m_browser, pDisp);
    CPageCompletion::PayTest().OnDocumentComplete(host, AnsiFromVariant(URL), m_strResult);
}
