// CPageDialog: what the two page dialogs share as hosts of untrusted pages.
// Their browser control's navigation is kept to the web's schemes, and the
// pages' pop-ups open in windows the dialog owns, which close with it. Each
// dialog's event sink map routes its control's BeforeNavigate2, NewWindow2
// and NewWindow3 to these handlers (ON_BEFORE_NAVIGATE2, ON_NEW_WINDOW2,
// ON_NEW_WINDOW3).
#pragma once

#include "framework/Dialog.h"
#include "web/PageEvents.h"
#include "web/PagePopups.h"

class CPageDialog : public CPageEvents<CDialog> {
public:
    CPageDialog(UINT nIDTemplate, CWnd* pParentWnd) : CPageEvents(nIDTemplate, pParentWnd) {}

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // Closes the pop-ups, then the base class's handling.
    void OnDestroy();

    CPagePopups& GetPopups() override { return m_popups; }

    CPagePopups m_popups{*this};
};
