// CSetupPageDlg: shows the wizard server's setup page, through which the
// card-company authentication plug-in is reinstalled. Ends when the page flow
// reaches "wizard_install", on its OK picture (a click, or Space once it has
// the focus), Enter or Esc.
#pragma once

#include "framework/Bitmap.h"
#include "framework/String.h"
#include "skin/PictureButton.h"
#include "web/PageDialog.h"
#include "web/WebBrowser2.h"

class CSetupPageDlg : public CPageDialog {
public:
    explicit CSetupPageDlg(CWnd* pParent = nullptr);

    CString m_strResult;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    BOOL OnEraseBkgnd(CDC* pDC);
    void OnBtnOk();
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnDestroy();
    void OnTimer(UINT nIDEvent);
    void OnDocumentComplete(LPDISPATCH pDisp, VARIANT* URL);

    CWebBrowser2 m_browser;
    CPictureButton m_btnOk;
    int m_bFirstPaint = 0;
    CBitmap m_hBackground;

    DECLARE_MESSAGE_MAP()
    DECLARE_EVENTSINK_MAP()
};
