#include "web/HtmlDocument.h"

#include "framework/ComPtr.h"
#include "framework/Convert.h"

#include <exdisp.h>
#include <mshtml.h>

void TurnDocumentScrollOff(IDispatch* pBrowser) {
    CComPtr<IDispatch> browser = pBrowser;
    CComPtr<IWebBrowser2> webBrowser;
    if (browser == nullptr || FAILED(browser.QueryInterface(&webBrowser)) || webBrowser == nullptr)
        return;
    CComPtr<IDispatch> document;
    if (FAILED(webBrowser->get_Document(&document)) || document == nullptr)
        return;
    CComPtr<IHTMLDocument2> document2;
    if (FAILED(document.QueryInterface(&document2)) || document2 == nullptr)
        return;
    CComPtr<IHTMLElement> body;
    if (FAILED(document2->get_body(&body)) || body == nullptr)
        return;
    CComPtr<IHTMLBodyElement> bodyElement;
    if (FAILED(body.QueryInterface(&bodyElement)) || bodyElement == nullptr)
        return; // a frameset's body
    BSTR bstrNo = ::SysAllocString(L"no");
    bodyElement->put_scroll(bstrNo);
    ::SysFreeString(bstrNo);
}

BOOL ReadDocumentOuterHtml(IDispatch* pDocument, CString& html) {
    CComPtr<IDispatch> document = pDocument;
    CComPtr<IHTMLDocument2> document2;
    if (document == nullptr || FAILED(document.QueryInterface(&document2)) || document2 == nullptr)
        return FALSE;
    CComPtr<IHTMLDocument3> document3;
    if (FAILED(document2.QueryInterface(&document3)) || document3 == nullptr)
        return FALSE;
    CComPtr<IHTMLElement> root;
    if (FAILED(document3->get_documentElement(&root)) || root == nullptr)
        return FALSE;
    document3.Release();

    BSTR bstrHtml = nullptr;
    if (FAILED(root->get_outerHTML(&bstrHtml)))
        bstrHtml = nullptr;
    root.Release();
    html = AfxW2A(bstrHtml);
    ::SysFreeString(bstrHtml);
    return TRUE;
}

CString AnsiFromVariant(const VARIANT* pVar) {
    if (pVar != nullptr && V_VT(pVar) == (VT_BYREF | VT_VARIANT))
        pVar = V_VARIANTREF(pVar);
    if (pVar == nullptr)
        return CString();
    if (V_VT(pVar) == VT_BSTR)
        return AfxW2A(V_BSTR(pVar));
    if (V_VT(pVar) == (VT_BYREF | VT_BSTR) && V_BSTRREF(pVar) != nullptr)
        return AfxW2A(*V_BSTRREF(pVar));
    return CString();
}
