// CImageButton: a bitmap static of a dialog template used as a push button.
// It owns its two face bitmaps and keeps its own record of being shown.
#pragma once

#include "framework/Static.h"

class CImageButton : public CStatic {
public:
    CImageButton();
    ~CImageButton() override;

    // Shows the normal face; called once the faces are stored.
    void InitButton();
    void SetToolTip(LPCTSTR text);
    // 1 shows the button; any other value hides it.
    void ShowButton(int nShow);
    void SetActive(int bActive);

    HBITMAP m_hBmpDown = nullptr;
    HBITMAP m_hBmpUp = nullptr;
    int m_bShown = 1;
    int m_bActive = 1;
};
