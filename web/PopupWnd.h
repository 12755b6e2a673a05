// CPopupWnd: a page's pop-up, a plain window owned by its page dialog that
// holds one browser control behind the same host as the dialog's (the host
// answers, no drops, only the web's schemes). It opens centred on the
// dialog with the dialog's size, takes the page's title, is placed and
// sized as the page asks (WindowSetLeft/Top/Width/Height, the width and
// height the page's own area) and closes on the page's window.close(). The
// object deletes itself when its window goes.
#pragma once

#include "framework/Wnd.h"
#include "web/PageEvents.h"
#include "web/WebBrowser2.h"

class CPopupWnd : public CPageEvents<CWnd> {
public:
    // A new pop-up window owned by owner, shown, with its control created
    // and not yet navigated; NULL when either cannot be created.
    static CPopupWnd* Open(CPagePopups& popups, CWnd& owner);

    // The control's dispatch interface, AddRef'ed, for NewWindow's ppDisp.
    IDispatch* GetBrowserDispatch() const;
    CWebBrowser2& GetBrowser() { return m_browser; }

    // Centred on the owner again, unless the page has placed it.
    void Recentre();

    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    enum { IDC_POPUP_BROWSER = 1 };

protected:
    explicit CPopupWnd(CPagePopups& popups) : m_popups(popups) {}
    void PostNcDestroy() override;
    CPagePopups& GetPopups() override { return m_popups; }

    void OnTitleChange(LPCTSTR lpszText);
    void OnWindowSetLeft(long nLeft);
    void OnWindowSetTop(long nTop);
    void OnWindowSetWidth(long nWidth);
    void OnWindowSetHeight(long nHeight);
    void OnWindowClosing(BOOL bIsChildWindow, VARIANT_BOOL* Cancel);

    // Window rectangle for a page area of cx by cy pixels at the window's
    // place, or centred on the owner while the page has not placed it.
    void Resize(int cx, int cy);

    CPagePopups& m_popups;
    CWebBrowser2 m_browser;
    bool m_bPlaced = false;

    DECLARE_EVENTSINK_MAP()
};
