// CNoticeDlg: tells the user that every Internet Explorer window is about to
// be closed. Ends on its OK picture, Enter or Esc.
#pragma once

#include "framework/Dialog.h"

class CNoticeDlg : public CDialog {
public:
    explicit CNoticeDlg(CWnd* pParent = nullptr);

protected:
    void OnBtnOk();

    DECLARE_MESSAGE_MAP()
};
