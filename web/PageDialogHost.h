// The page dialogs' platform side of page completion and the countdown: their
// browser control, their window, and the browser object (frame or window)
// whose load is being handled.
#pragma once

#include "framework/Dialog.h"
#include "web/PageHost.h"
#include "web/WebBrowser2.h"

#include <exdispid.h>

// The event sink entries of the windows that show pages, one per event of
// their browser control:
// DocumentComplete, by OnDocumentComplete(LPDISPATCH pDisp, VARIANT* URL);
#define ON_DOCUMENT_COMPLETE(theClass, id)                                                         \
    ON_EVENT(theClass, id, DISPID_DOCUMENTCOMPLETE, OnDocumentComplete, VTS_DISPATCH VTS_PVARIANT)
// BeforeNavigate2 of the window or any frame, by OnBeforeNavigate2(LPDISPATCH
// pDisp, VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT*
// PostData, VARIANT* Headers, VARIANT_BOOL* Cancel);
#define VTS_PVARIANT5 VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT
#define VTS_BEFORE_NAVIGATE2 VTS_DISPATCH VTS_PVARIANT5 VTS_PBOOL
#define ON_BEFORE_NAVIGATE2(theClass, id)                                                          \
    ON_EVENT(theClass, id, DISPID_BEFORENAVIGATE2, OnBeforeNavigate2, VTS_BEFORE_NAVIGATE2)
// NewWindow2, by OnNewWindow2(LPDISPATCH* ppDisp, VARIANT_BOOL* Cancel);
#define ON_NEW_WINDOW2(theClass, id)                                                               \
    ON_EVENT(theClass, id, DISPID_NEWWINDOW2, OnNewWindow2, VTS_PDISPATCH VTS_PBOOL)
// NewWindow3, by OnNewWindow3(LPDISPATCH* ppDisp, VARIANT_BOOL* Cancel, long
// dwFlags, LPCTSTR lpszUrlContext, LPCTSTR lpszUrl).
#define ON_NEW_WINDOW3(theClass, id)                                                               \
    ON_EVENT(theClass, id, DISPID_NEWWINDOW3, OnNewWindow3,                                        \
             VTS_PDISPATCH VTS_PBOOL VTS_I4 VTS_BSTR VTS_BSTR)

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
    // BeforeNavigate2: an address whose scheme is not one a page may lead
    // to (CNavigationScheme) is cancelled.
    static void CancelForeignScheme(const VARIANT* URL, VARIANT_BOOL* Cancel);

private:
    CDialog& m_dlg;
    CWebBrowser2& m_browser;
    LPDISPATCH m_pSource;
};
