#include "web/HtmlDocument.h"

#include <exdisp.h>
#include <mshtml.h>

#include <vector>

namespace {

// One interface reference, released when it goes out of scope.
template <typename T> class CInterface {
public:
    CInterface() = default;
    CInterface(const CInterface&) = delete;
    CInterface& operator=(const CInterface&) = delete;
    ~CInterface() { Reset(); }

    void Reset() {
        if (p != nullptr)
            p->Release();
        p = nullptr;
    }
    T* operator->() const { return p; }

    T* p = nullptr;
};

template <typename T> bool Query(IUnknown* pFrom, REFIID iid, CInterface<T>& to) {
    return pFrom != nullptr &&
           SUCCEEDED(pFrom->QueryInterface(iid, reinterpret_cast<void**>(&to.p))) &&
           to.p != nullptr;
}

} // namespace

void TurnDocumentScrollOff(IDispatch* pBrowser) {
    CInterface<IWebBrowser2> webBrowser;
    if (!Query(pBrowser, IID_IWebBrowser2, webBrowser))
        return;
    CInterface<IDispatch> document;
    if (FAILED(webBrowser->get_Document(&document.p)) || document.p == nullptr)
        return;
    CInterface<IHTMLDocument2> document2;
    if (!Query(document.p, IID_IHTMLDocument2, document2))
        return;
    CInterface<IHTMLElement> body;
    if (FAILED(document2->get_body(&body.p)) || body.p == nullptr)
        return;
    CInterface<IHTMLBodyElement> bodyElement;
    if (!Query(body.p, IID_IHTMLBodyElement, bodyElement))
        return; // a frameset's body
    BSTR bstrNo = ::SysAllocString(L"no");
    bodyElement->put_scroll(bstrNo);
    ::SysFreeString(bstrNo);
}

BOOL ReadDocumentOuterHtml(IDispatch* pDocument, CString& html) {
    CInterface<IHTMLDocument2> document2;
    if (!Query(pDocument, IID_IHTMLDocument2, document2))
        return FALSE;
    CInterface<IHTMLDocument3> document3;
    if (!Query(document2.p, IID_IHTMLDocument3, document3))
        return FALSE;
    CInterface<IHTMLElement> root;
    if (FAILED(document3->get_documentElement(&root.p)) || root.p == nullptr)
        return FALSE;
    document3.Reset();

    BSTR bstrHtml = nullptr;
    if (FAILED(root->get_outerHTML(&bstrHtml)))
        bstrHtml = nullptr;
    root.Reset();
    html = AnsiFromWide(bstrHtml);
    ::SysFreeString(bstrHtml);
    return TRUE;
}

CString AnsiFromWide(const wchar_t* text) {
    if (text == nullptr)
        return CString();
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return CString();
    std::vector<char> buffer(static_cast<size_t>(size));
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, buffer.data(), size, nullptr, nullptr);
    return CString(buffer.data());
}

CString AnsiFromVariant(const VARIANT* pVar) {
    if (pVar != nullptr && V_VT(pVar) == (VT_BYREF | VT_VARIANT))
        pVar = V_VARIANTREF(pVar);
    if (pVar == nullptr)
        return CString();
    if (V_VT(pVar) == VT_BSTR)
        return AnsiFromWide(V_BSTR(pVar));
    if (V_VT(pVar) == (VT_BYREF | VT_BSTR) && V_BSTRREF(pVar) != nullptr)
        return AnsiFromWide(*V_BSTRREF(pVar));
    return CString();
}
