#include "tests/win/StandinBrowserFixture.h"

const CLSID kClsidWebBrowser = {
    0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};

std::wstring DemoBase() {
    wchar_t szBase[256];
    const DWORD n = GetEnvironmentVariableW(L"QEL_DEMO_BASE", szBase, 256);
    return n > 0 && n < 256 ? std::wstring(szBase) + L"/plugin/wizard/" : std::wstring();
}

// Outer HTML of the root element of a browser object's document.
std::wstring OuterHtml(IDispatch* pBrowser) {
    std::wstring strHtml = L"(no document)";
    IWebBrowser2* pWeb = nullptr;
    IDispatch* pDocument = nullptr;
    IHTMLDocument3* pDoc3 = nullptr;
    IHTMLElement* pRoot = nullptr;
    if (SUCCEEDED(pBrowser->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&pWeb))) &&
        SUCCEEDED(pWeb->get_Document(&pDocument)) && pDocument &&
        SUCCEEDED(
            pDocument->QueryInterface(IID_IHTMLDocument3, reinterpret_cast<void**>(&pDoc3))) &&
        SUCCEEDED(pDoc3->get_documentElement(&pRoot)) && pRoot) {
        BSTR bstr = nullptr;
        pRoot->get_outerHTML(&bstr);
        strHtml = bstr ? bstr : L"";
        SysFreeString(bstr);
    }
    for (IUnknown* p : {static_cast<IUnknown*>(pRoot), static_cast<IUnknown*>(pDoc3),
                        static_cast<IUnknown*>(pDocument), static_cast<IUnknown*>(pWeb)}) {
        if (p)
            p->Release();
    }
    return strHtml;
}

std::wstring ReadyState(IDispatch* pBrowser) {
    std::wstring strState = L"(no document)";
    IWebBrowser2* pWeb = nullptr;
    IDispatch* pDocument = nullptr;
    IHTMLDocument2* pDoc2 = nullptr;
    if (SUCCEEDED(pBrowser->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&pWeb))) &&
        SUCCEEDED(pWeb->get_Document(&pDocument)) && pDocument &&
        SUCCEEDED(
            pDocument->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&pDoc2)))) {
        BSTR bstr = nullptr;
        pDoc2->get_readyState(&bstr);
        strState = bstr ? bstr : L"";
        SysFreeString(bstr);
    }
    for (IUnknown* p : {static_cast<IUnknown*>(pDoc2), static_cast<IUnknown*>(pDocument),
                        static_cast<IUnknown*>(pWeb)}) {
        if (p)
            p->Release();
    }
    return strState;
}
