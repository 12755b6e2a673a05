#include "tests/win/StandinBrowserFixture.h"

#include "framework/ComPtr.h"

const CLSID kClsidWebBrowser = {
    0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};

std::wstring DemoBase() {
    wchar_t szBase[256];
    const DWORD n = GetEnvironmentVariableW(L"QEL_DEMO_BASE", szBase, 256);
    return n > 0 && n < 256 ? std::wstring(szBase) + L"/plugin/wizard/" : std::wstring();
}

namespace {

// A browser object's document; empty without one.
CComPtr<IHTMLDocument2> DocumentOf(IDispatch* pBrowser) {
    CComPtr<IDispatch> browser = pBrowser;
    CComPtr<IWebBrowser2> web;
    CComPtr<IDispatch> document;
    CComPtr<IHTMLDocument2> document2;
    if (browser != nullptr && SUCCEEDED(browser.QueryInterface(&web)) && web != nullptr &&
        SUCCEEDED(web->get_Document(&document)) && document != nullptr)
        document.QueryInterface(&document2);
    return document2;
}

std::wstring Text(BSTR bstr) {
    std::wstring str = bstr ? bstr : L"";
    SysFreeString(bstr);
    return str;
}

} // namespace

std::wstring OuterHtml(IDispatch* pBrowser) {
    CComPtr<IHTMLDocument2> document2 = DocumentOf(pBrowser);
    CComPtr<IHTMLDocument3> document3;
    CComPtr<IHTMLElement> root;
    if (document2 == nullptr || FAILED(document2.QueryInterface(&document3)) ||
        document3 == nullptr || FAILED(document3->get_documentElement(&root)) || root == nullptr)
        return L"(no document)";
    BSTR bstr = nullptr;
    root->get_outerHTML(&bstr);
    return Text(bstr);
}

std::wstring ReadyState(IDispatch* pBrowser) {
    CComPtr<IHTMLDocument2> document2 = DocumentOf(pBrowser);
    if (document2 == nullptr)
        return L"(no document)";
    BSTR bstr = nullptr;
    document2->get_readyState(&bstr);
    return Text(bstr);
}
