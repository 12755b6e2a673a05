// CPageEvents: the browser-control event handlers every window that shows
// untrusted pages shares, over its window class TBase (a page dialog, a
// pop-up). Navigation is kept to the web's schemes; a page's new window opens
// as a pop-up of the window's CPagePopups (GetPopups). Each derived class's
// event sink map routes its control's events here with ON_BEFORE_NAVIGATE2,
// ON_NEW_WINDOW2 and ON_NEW_WINDOW3.
#pragma once

#include "web/PageDialogHost.h"
#include "web/PagePopups.h"

template <class TBase> class CPageEvents : public TBase {
public:
    using TBase::TBase;

protected:
    virtual CPagePopups& GetPopups() = 0;

    void OnBeforeNavigate2(LPDISPATCH, VARIANT* URL, VARIANT*, VARIANT*, VARIANT*, VARIANT*,
                           VARIANT_BOOL* Cancel) {
        CPageDialogHost::CancelForeignScheme(URL, Cancel);
    }
    void OnNewWindow2(LPDISPATCH* ppDisp, VARIANT_BOOL* Cancel) {
        GetPopups().OnNewWindow(ppDisp, Cancel, nullptr);
    }
    void OnNewWindow3(LPDISPATCH* ppDisp, VARIANT_BOOL* Cancel, long, LPCTSTR, LPCTSTR lpszUrl) {
        GetPopups().OnNewWindow(ppDisp, Cancel, lpszUrl);
    }
};
