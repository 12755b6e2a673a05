// CPageDialog: what the two page dialogs share as hosts of untrusted pages.
// Their browser control's navigation is kept to the web's schemes, and the
// pages' pop-ups open in windows the dialog owns, which close with it. Each
// dialog's event sink map routes its control's BeforeNavigate2, NewWindow2
// and NewWindow3 to these handlers (ON_BEFORE_NAVIGATE2, ON_NEW_WINDOW2,
// ON_NEW_WINDOW3).
#pragma once

#include "framework/Dialog.h"
#include "web/PagePopups.h"

class CPageDialog : public CDialog {
public:
    CPageDialog(UINT nIDTemplate, CWnd* pParentWnd) : CDialog(nIDTemplate, pParentWnd) {}

protected:
    // Closes the pop-ups, then the base class's handling.
    void OnDestroy();
    void OnBeforeNavigate2(LPDISPATCH pDisp, VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName,
                           VARIANT* PostData, VARIANT* Headers, VARIANT_BOOL* Cancel);
    void OnNewWindow2(LPDISPATCH* ppDisp, VARIANT_BOOL* Cancel);
    void OnNewWindow3(LPDISPATCH* ppDisp, VARIANT_BOOL* Cancel, long dwFlags,
                      LPCTSTR lpszUrlContext, LPCTSTR lpszUrl);

    CPagePopups m_popups{*this};
};
