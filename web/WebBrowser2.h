// CWebBrowser2: the WebBrowser ActiveX control as a window object. Holds no
// state of its own; calls go to the hosted control through InvokeHelper.
#pragma once

#include "framework/Wnd.h"

class CWebBrowser2 : public CWnd {
    DECLARE_DYNCREATE(CWebBrowser2)

public:
    // The control from code; the class name is not used.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                        const RECT& rect, CWnd* pParentWnd, UINT nID);

    void Navigate2(VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                   VARIANT* Headers);
    // The current document (the caller releases it), or NULL when none.
    LPDISPATCH GetDocument();
    // Whether the control takes what is dragged and dropped onto it.
    void SetRegisterAsDropTarget(BOOL bNewValue);

    static const CLSID clsid;
};
