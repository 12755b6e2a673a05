// CNoticeDlg: tells the user that every Internet Explorer window is about to
// be closed. A bitmap-skinned dialog with an image OK button; ends on its OK
// picture, Enter or Esc.
#pragma once

#include "framework/Bitmap.h"
#include "framework/Dialog.h"
#include "skin/ImageButton.h"

class CNoticeDlg : public CDialog {
public:
    explicit CNoticeDlg(CWnd* pParent = nullptr);
    ~CNoticeDlg() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnDestroy();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnBtnOk();

    CImageButton m_btnOk;
    int m_bFirstPaint = 0;
    CBitmap m_hBackground;

    DECLARE_MESSAGE_MAP()
};
