// CSetupPageDlg: the dialog through which the card-company authentication
// plug-in is reinstalled. Ends on its OK picture, Enter or Esc.
#pragma once

#include "framework/Dialog.h"
#include "framework/String.h"
#include "web/WebBrowser2.h"

class CSetupPageDlg : public CDialog {
public:
    explicit CSetupPageDlg(CWnd* pParent = nullptr);

    CString m_strResult;
    CWebBrowser2 m_browser;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnBtnOk();

    DECLARE_MESSAGE_MAP()
};
