#include "skin/NoticeDlg.h"

#include "framework/WinApp.h"
#include "res/resource.h"
#include "skin/SkinBackground.h"

CNoticeDlg::CNoticeDlg(CWnd* pParent) : CDialog(IDD_NOTICE, pParent) {
    m_nLayoutDpi = CSkinBackground::LAYOUT_DPI;
}

CNoticeDlg::~CNoticeDlg() = default;

void CNoticeDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_BTN_OK, m_btnOk);
}

BEGIN_MESSAGE_MAP(CNoticeDlg, CDialog)
ON_WM_CTLCOLOR()
ON_WM_DESTROY()
ON_WM_ERASEBKGND()
ON_STN_CLICKED(IDC_BTN_OK, OnBtnOk)
END_MESSAGE_MAP()

BOOL CNoticeDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    HINSTANCE hInst = AfxGetInstanceHandle();
    m_hBackground.Attach(::LoadBitmapA(hInst, MAKEINTRESOURCEA(IDB_BG_NOTICE)));
    m_btnOk.m_hBmpUp = ::LoadBitmapA(hInst, MAKEINTRESOURCEA(IDB_BTN_OK));
    m_btnOk.m_hBmpDown = ::LoadBitmapA(hInst, MAKEINTRESOURCEA(IDB_BTN_OK));
    m_btnOk.InitButton();
    m_btnOk.SetToolTip("OK");
    m_btnOk.SetActive(1);
    m_btnOk.SetAccessibleName("확인");

    m_bFirstPaint = 1;
    return TRUE;
}

HBRUSH CNoticeDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    HBRUSH hbr = CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    return CSkinBackground::CtlColor(pDC, nCtlColor, hbr);
}

void CNoticeDlg::OnDestroy() {
    CDialog::OnDestroy();
}

BOOL CNoticeDlg::OnEraseBkgnd(CDC* pDC) {
    return CSkinBackground::OnEraseBkgnd(*this, pDC, m_hBackground, m_bFirstPaint);
}

void CNoticeDlg::OnBtnOk() {
    EndDialog(0);
}
