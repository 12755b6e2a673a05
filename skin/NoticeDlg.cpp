#include "skin/NoticeDlg.h"

#include "res/resource.h"

CNoticeDlg::CNoticeDlg(CWnd* pParent) : CDialog(IDD_NOTICE, pParent) {}

BEGIN_MESSAGE_MAP(CNoticeDlg, CDialog)
ON_STN_CLICKED(IDC_BTN_OK, OnBtnOk)
END_MESSAGE_MAP()

void CNoticeDlg::OnBtnOk() {
    EndDialog(0);
}
