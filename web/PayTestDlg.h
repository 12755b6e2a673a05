// CPayTestDlg: runs the payment test on the wizard server's page at m_strUrl.
// Ends when the page flow reaches "wizard_result" or "wizard_install" (the
// page's body text as m_strResult), on the 181st tick of its one-second timer
// (the time-out result text), or on Enter or Esc (m_strResult empty).
#pragma once

#include "framework/Bitmap.h"
#include "framework/String.h"
#include "web/PageDialog.h"
#include "web/WebBrowser2.h"

class CPayTestDlg : public CPageDialog {
public:
    explicit CPayTestDlg(CWnd* pParent = nullptr);

    CString m_strResult;
    CString m_strUrl;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Starts the countdown and the navigation to m_strUrl.
    void StartPayTest();

    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnDestroy();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnTimer(UINT nIDEvent);
    void OnDocumentComplete(LPDISPATCH pDisp, VARIANT* URL);

    CWebBrowser2 m_browser;
    int m_nCountdown = 0;
    int m_bFirstPaint = 0;
    CBitmap m_hBackground;

    DECLARE_MESSAGE_MAP()
    DECLARE_EVENTSINK_MAP()
};
