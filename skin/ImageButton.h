// CImageButton: a bitmap static of a dialog template (notify style) used as
// a push button. It shows a normal and a pressed face, sets a hand cursor
// while the mouse moves over it, has a tooltip, and can be hidden or made
// inert. The click reaches the dialog as the static's STN_CLICKED, sent on
// the button-down. It owns its faces, cursor copy, tooltip and region. As a
// picture button it takes the keyboard and names itself to assistive tools;
// Space shows the pressed face, its tooltip text is its description.
#pragma once

#include "framework/Rgn.h"
#include "framework/ToolTipCtrl.h"
#include "skin/PictureButton.h"

class CImageButton : public CPictureButton {
public:
    CImageButton();
    ~CImageButton() override;
    CImageButton(const CImageButton&) = delete;
    CImageButton& operator=(const CImageButton&) = delete;

    // Takes the hand cursor, shows the normal face and builds the region
    // from the client rectangle; called once the faces are stored.
    void InitButton();
    void SetToolTip(LPCTSTR text);
    // 1 shows the button; any other value hides it.
    void ShowButton(int nShow);
    void SetActive(int bActive);
    // The Windows folder, empty when it cannot be had.
    CString GetWindowsDir();
    // A private copy of the hand cursor of the program strModule (winhlp32's
    // resource id), else of the system's hand cursor (IDC_HAND); NULL when
    // neither can be had.
    static HCURSOR CopyHandCursor(const CString& strModule);

    // Shown, active and enabled.
    BOOL IsLive() const override;
    void ShowFace(BOOL bPressed) override;

    // Relays the message to the tooltip; never takes it.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    HBITMAP m_hBmpDown = nullptr;
    HBITMAP m_hBmpUp = nullptr;
    int m_bShown = 1;
    int m_bActive = 1;
    HCURSOR m_hHandCursor = nullptr;
    CToolTipCtrl* m_pToolTip = nullptr;
    CRgn* m_pRegion = nullptr;

protected:
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnTimer(UINT nIDEvent);

    DECLARE_MESSAGE_MAP()
};
