// The page dialogs' platform side of page completion and the countdown: their
// browser control, their window, and the browser object (frame or window)
// whose load is being handled.
#pragma once

#include "framework/Dialog.h"
#include "web/PageHost.h"
#include "web/WebBrowser2.h"

#include <exdispid.h>

// The page dialogs' one event sink entry: the browser control's
// DocumentComplete with its browser object and address, handled by
// OnDocumentComplete(LPDISPATCH pDisp, VARIANT* URL).
#define ON_DOCUMENT_COMPLETE(theClass, id)                                                         \
    ON_EVENT(theClass, id, DISPID_DOCUMENTCOMPLETE, OnDocumentComplete, VTS_DISPATCH VTS_PVARIANT)

class CPageDialogHost : public IPageHost {
public:
    CPageDialogHost(CDialog& dlg, CWebBrowser2& browser, LPDISPATCH pSource = nullptr)
        : m_dlg(dlg), m_browser(browser), m_pSource(pSource) {}

    BOOL ReadDocumentHtml(CString& html) override;
    void TurnScrollOff() override;
    void MoveBrowser(int x, int y, int cx, int cy) override;
    void KillTimer(UINT id) override;
    void DefaultProcessing() override;
    void EndDialog(int nResult) override;

    // A plain navigation: the address as URL, one empty variant for the
    // flags, target frame, post data and headers.
    static void Navigate(CWebBrowser2& browser, LPCTSTR address);

private:
    CDialog& m_dlg;
    CWebBrowser2& m_browser;
    LPDISPATCH m_pSource;
};
