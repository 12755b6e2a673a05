#include "web/WebBrowser2.h"

IMPLEMENT_DYNCREATE(CWebBrowser2, CWnd)

// {8856F961-340A-11D0-A96B-00C04FD705A2}
const CLSID CWebBrowser2::clsid = {
    0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};

BOOL CWebBrowser2::Create(LPCTSTR, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                          CWnd* pParentWnd, UINT nID, CCreateContext*) {
    return CreateControl(clsid, lpszWindowName, dwStyle, rect, pParentWnd, nID);
}

void CWebBrowser2::Navigate2(VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName,
                             VARIANT* PostData, VARIANT* Headers) {
    static const BYTE parms[] = VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT;
    InvokeHelper(500, DISPATCH_METHOD, VT_EMPTY, nullptr, parms, URL, Flags, TargetFrameName,
                 PostData, Headers);
}

LPDISPATCH CWebBrowser2::GetDocument() {
    LPDISPATCH result = nullptr;
    InvokeHelper(203, DISPATCH_PROPERTYGET, VT_DISPATCH, &result, nullptr);
    return result;
}
