#include "web/WebBrowser2.h"

#include "web/WebBrowserDispid.h"
// The state its dialogs give it, checked against its layout as it builds.
#include "res/BrowserState.h"

#include <exdisp.h>

IMPLEMENT_DYNCREATE(CWebBrowser2, CWnd)

const CLSID CWebBrowser2::clsid = CLSID_WebBrowser;

BOOL CWebBrowser2::Create(LPCTSTR, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                          CWnd* pParentWnd, UINT nID) {
    return CreateControl(clsid, lpszWindowName, dwStyle, rect, pParentWnd, nID);
}

void CWebBrowser2::Navigate2(VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName,
                             VARIANT* PostData, VARIANT* Headers) {
    static const BYTE parms[] = VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT;
    InvokeHelper(DISPID_WEBBROWSER_NAVIGATE2, DISPATCH_METHOD, VT_EMPTY, nullptr, parms, URL, Flags,
                 TargetFrameName, PostData, Headers);
}

LPDISPATCH CWebBrowser2::GetDocument() {
    LPDISPATCH result = nullptr;
    InvokeHelper(DISPID_WEBBROWSER_DOCUMENT, DISPATCH_PROPERTYGET, VT_DISPATCH, &result, nullptr);
    return result;
}

void CWebBrowser2::SetRegisterAsDropTarget(BOOL bNewValue) {
    static const BYTE parms[] = VTS_BOOL;
    InvokeHelper(DISPID_WEBBROWSER_REGISTERASDROPTARGET, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr,
                 parms, bNewValue);
}
