// The stand-in browser driven directly, as a control container and the page
// dialogs drive the WebBrowser control: created through the prefix's
// registration, activated in place, navigated through IDispatch against the
// demo server (QEL_DEMO_BASE), its events and documents read back.
#include "tests/win/StandinBrowserFixture.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using StandinBrowserTest = StandinBrowserFixture;

TEST_F(StandinBrowserTest, SetupPageShowsItsTextAndRefreshesToTheMarkerPage) {
    NavigateTo(L"wizard_setup.html");
    ASSERT_TRUE(WaitForEvents(1));
    const CTestSink::CEvent& first = m_pSink->m_vecEvents[0];
    EXPECT_EQ(2u, first.nArgs);
    EXPECT_EQ(VT_VARIANT | VT_BYREF, first.vtUrl);
    EXPECT_EQ(m_strBase + L"wizard_setup.html", first.strUrl);
    EXPECT_TRUE(IsTop(first));
    const std::wstring strSetup = OuterHtml(first.pDisp);
    EXPECT_EQ(0u, strSetup.find(L"<HTML><HEAD><META http-equiv=Content-Type content=\"text/html;"));
    EXPECT_NE(std::wstring::npos, strSetup.find(L"<BODY>카드사 인증 플러그인을 설치합니다."));

    // The window lives under the site's window and takes the rectangles it is given.
    const HWND hwnd = BrowserWindow();
    ASSERT_NE(nullptr, hwnd);
    EXPECT_EQ(m_hwndParent, GetParent(hwnd));
    IOleInPlaceObject* pInPlace = nullptr;
    ASSERT_EQ(S_OK, m_pObject->QueryInterface(IID_IOleInPlaceObject,
                                              reinterpret_cast<void**>(&pInPlace)));
    const RECT rcStrip = {29, 63, 29 + 290, 63 + 60};
    EXPECT_EQ(S_OK, pInPlace->SetObjectRects(&rcStrip, &rcStrip));
    pInPlace->Release();
    RECT rc;
    GetClientRect(hwnd, &rc);
    EXPECT_EQ(290, rc.right);
    EXPECT_EQ(60, rc.bottom);

    FireRefresh();
    ASSERT_TRUE(WaitForEvents(2));
    const CTestSink::CEvent& marker = m_pSink->m_vecEvents[1];
    EXPECT_EQ(m_strBase + L"wizard_install.html", marker.strUrl);
    EXPECT_EQ(L"<HTML><HEAD></HEAD>\r\n<BODY>y|ok|</BODY></HTML>", OuterHtml(m_pDisp));
}

TEST_F(StandinBrowserTest, ResultInAFrameCompletesBeforeItsPage) {
    VARIANT inner;
    inner.vt = VT_BSTR;
    inner.bstrVal = SysAllocString((m_strBase + L"QEL_pay_wizard.html?flow=frame").c_str());
    VARIANT url;
    url.vt = VT_VARIANT | VT_BYREF;
    url.pvarVal = &inner;
    Navigate(url);
    VariantClear(&inner);
    ASSERT_TRUE(WaitForEvents(1));
    EXPECT_NE(std::wstring::npos, OuterHtml(m_pDisp).find(L"<BODY>결제 테스트를 진행합니다."));
    FireRefresh();
    ASSERT_TRUE(WaitForEvents(3));
    const CTestSink::CEvent& frame = m_pSink->m_vecEvents[1];
    const CTestSink::CEvent& page = m_pSink->m_vecEvents[2];
    EXPECT_FALSE(IsTop(frame));
    EXPECT_EQ(m_strBase + L"wizard_result.html?flow=frame", frame.strUrl);
    EXPECT_EQ(L"<HTML><HEAD></HEAD>\r\n<BODY>y|ok|</BODY></HTML>", OuterHtml(frame.pDisp));
    EXPECT_TRUE(IsTop(page));
    EXPECT_EQ(m_strBase + L"QEL_pay_done.html?flow=frame", page.strUrl);
    EXPECT_NE(std::wstring::npos,
              OuterHtml(m_pDisp).find(L"<BODY>y|ok|<IFRAME src=\"wizard_result"));
}

// KB180366: a frame that navigates by itself completes again, with its own
// browser object and its new address; the page does not.
TEST_F(StandinBrowserTest, FrameThatNavigatesByItselfCompletesAgain) {
    NavigateTo(L"QEL_pay_done.html?flow=selfnav");
    ASSERT_TRUE(WaitForEvents(2));
    IDispatch* const pFrame = m_pSink->m_vecEvents[0].pDisp;
    EXPECT_FALSE(IsTop(m_pSink->m_vecEvents[0]));
    EXPECT_EQ(m_strBase + L"QEL_pay_frame.html?flow=selfnav", m_pSink->m_vecEvents[0].strUrl);
    FireRefresh(kFrameRefreshTimer);
    ASSERT_TRUE(WaitForEvents(3));
    const CTestSink::CEvent& again = m_pSink->m_vecEvents[2];
    EXPECT_EQ(pFrame, again.pDisp);
    EXPECT_EQ(m_strBase + L"wizard_result.html?flow=selfnav", again.strUrl);
    EXPECT_EQ(L"<HTML><HEAD></HEAD>\r\n<BODY>y|ok|</BODY></HTML>", OuterHtml(again.pDisp));
    EXPECT_NE(std::wstring::npos, OuterHtml(m_pDisp).find(L"<BODY>y|ok|<IFRAME"));
}

// KB180366: a frame's own frames complete before it, and it before its page.
TEST_F(StandinBrowserTest, NestedFramesCompleteInnermostFirst) {
    NavigateTo(L"QEL_pay_done.html?flow=nested");
    ASSERT_TRUE(WaitForEvents(3));
    std::vector<std::wstring> vecUrls;
    for (const CTestSink::CEvent& event : m_pSink->m_vecEvents)
        vecUrls.push_back(event.strUrl.substr(m_strBase.size()));
    EXPECT_EQ((std::vector<std::wstring>{L"wizard_result.html?flow=nested",
                                         L"QEL_pay_frame.html?flow=nested",
                                         L"QEL_pay_done.html?flow=nested"}),
              vecUrls);
    EXPECT_FALSE(IsTop(m_pSink->m_vecEvents[0]));
    EXPECT_NE(m_pSink->m_vecEvents[0].pDisp, m_pSink->m_vecEvents[1].pDisp);
    EXPECT_TRUE(IsTop(m_pSink->m_vecEvents[2]));
}

TEST_F(StandinBrowserTest, PageWithoutBodyTagsGetsThemImplied) {
    NavigateTo(L"wizard_result.html?flow=nobody");
    ASSERT_TRUE(WaitForEvents(1));
    EXPECT_EQ(L"<HTML><HEAD></HEAD>\r\n<BODY>y|ok|</BODY></HTML>", OuterHtml(m_pDisp));
    // The scroll step of a shown page: document, body, body element.
    IWebBrowser2* pWeb = nullptr;
    ASSERT_EQ(S_OK, m_pDisp->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&pWeb)));
    IDispatch* pDocument = nullptr;
    pWeb->get_Document(&pDocument);
    pWeb->Release();
    ASSERT_NE(nullptr, pDocument);
    IHTMLDocument2* pDoc2 = nullptr;
    ASSERT_EQ(S_OK,
              pDocument->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&pDoc2)));
    pDocument->Release();
    IHTMLElement* pBody = nullptr;
    ASSERT_EQ(S_OK, pDoc2->get_body(&pBody));
    pDoc2->Release();
    ASSERT_NE(nullptr, pBody);
    IHTMLBodyElement* pBodyElement = nullptr;
    ASSERT_EQ(S_OK,
              pBody->QueryInterface(IID_IHTMLBodyElement, reinterpret_cast<void**>(&pBodyElement)));
    BSTR bstrNo = SysAllocString(L"no");
    EXPECT_EQ(S_OK, pBodyElement->put_scroll(bstrNo));
    SysFreeString(bstrNo);
    pBodyElement->Release();
    pBody->Release();
}

// The events recorded so far: "id:types" each, types as CTestSink gives them.
std::vector<std::string> Fired(const CTestSink& sink) {
    std::vector<std::string> vec;
    for (const CTestSink::CFired& fired : sink.m_vecFired)
        vec.push_back(std::to_string(fired.dispid) + ":" + fired.strTypes);
    return vec;
}

// Variant types: 9 dispatch, 8 string, 3 long, 11 bool; 16396 a reference to a
// variant, 16395 a reference to a bool.
const char kBeforeNavigate2[] = "250:9 16396>8 16396>3 16396>8 16396>16396 16396>8 16395";
const char kUrlEvent[] = "9 16396>8";

TEST_F(StandinBrowserTest, NavigationEventsFireInsideNavigate2WithTheControlsTypes) {
    NavigateTo(L"wizard_install.html");
    // Before Navigate2 returned: BeforeNavigate2, DownloadBegin, StatusTextChange,
    // SetSecureLockIcon, FileDownload, CommandStateChange twice, DownloadComplete.
    EXPECT_EQ((std::vector<std::string>{kBeforeNavigate2, "106:", "102:8", "269:3", "270:11 16395",
                                        "105:3 11", "105:3 11", "104:"}),
              Fired(*m_pSink));
    ASSERT_TRUE(WaitForEvents(1));
    const std::vector<std::string> vecAll = Fired(*m_pSink);
    EXPECT_EQ((std::vector<std::string>{"113:8", std::string("252:") + kUrlEvent, "108:3 3",
                                        std::string("259:") + kUrlEvent}),
              std::vector<std::string>(vecAll.begin() + 8, vecAll.end()));
}

TEST_F(StandinBrowserTest, CancelInBeforeNavigate2StopsTheNavigation) {
    m_pSink->m_bCancelNavigation = true;
    NavigateTo(L"wizard_install.html");
    EXPECT_EQ((std::vector<std::string>{kBeforeNavigate2}), Fired(*m_pSink));
    EXPECT_EQ(L"(no document)", OuterHtml(m_pDisp));
}

// An address the server refuses fires NavigateError, then an error page
// completes with a res:// address that carries the failed one.
TEST_F(StandinBrowserTest, UnfetchableAddressFiresNavigateErrorAndShowsAnErrorPage) {
    NavigateTo(L"missing.html");
    ASSERT_TRUE(WaitForEvents(1));
    const std::vector<std::string> vecAll = Fired(*m_pSink);
    EXPECT_NE(vecAll.end(),
              std::find(vecAll.begin(), vecAll.end(), "271:9 16396>8 16396>8 16396>3 16395"));
    EXPECT_EQ(L"res://ieframe.dll/http_404.htm#" + m_strBase + L"missing.html",
              m_pSink->m_vecEvents[0].strUrl);
    EXPECT_NE(std::wstring::npos, OuterHtml(m_pDisp).find(L"<BODY>This page cannot be displayed."));
}

// W test_TranslateAccelerator: once UI-active the control takes F5, which
// reloads the page, and Tab; other keys go back to the container.
TEST_F(StandinBrowserTest, UiActiveControlTakesF5AndTab) {
    IOleInPlaceActiveObject* pActive = nullptr;
    ASSERT_EQ(S_OK, m_pObject->QueryInterface(IID_IOleInPlaceActiveObject,
                                              reinterpret_cast<void**>(&pActive)));
    MSG f5 = {BrowserWindow(), WM_KEYDOWN, VK_F5, 0, 0, {0, 0}};
    MSG tab = f5, esc = f5;
    tab.wParam = VK_TAB;
    esc.wParam = VK_ESCAPE;
    EXPECT_EQ(S_FALSE, pActive->TranslateAccelerator(&f5));
    RECT rc = {0, 0, 0, 0};
    ASSERT_EQ(S_OK, m_pObject->DoVerb(OLEIVERB_SHOW, nullptr, m_pSite, 0, m_hwndParent, &rc));
    NavigateTo(L"wizard_install.html");
    ASSERT_TRUE(WaitForEvents(1));
    EXPECT_EQ(S_OK, pActive->TranslateAccelerator(&tab));
    EXPECT_EQ(S_FALSE, pActive->TranslateAccelerator(&esc));
    m_pSink->m_vecFired.clear();
    EXPECT_EQ(S_OK, pActive->TranslateAccelerator(&f5));
    ASSERT_FALSE(m_pSink->m_vecFired.empty());
    EXPECT_EQ(kBeforeNavigate2, Fired(*m_pSink)[0]);
    EXPECT_TRUE(WaitForEvents(2));
    pActive->Release();
}

TEST_F(StandinBrowserTest, DocumentPropertyIsEmptyBeforeAnyPage) {
    VARIANT result;
    VariantInit(&result);
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    EXPECT_EQ(S_OK, m_pDisp->Invoke(DISPID_WEBBROWSER_DOCUMENT, IID_NULL, 0, DISPATCH_PROPERTYGET,
                                    &none, &result, nullptr, nullptr));
    EXPECT_EQ(VT_EMPTY, result.vt);
    NavigateTo(L"wizard_install.html");
    ASSERT_TRUE(WaitForEvents(1));
    EXPECT_EQ(S_OK, m_pDisp->Invoke(DISPID_WEBBROWSER_DOCUMENT, IID_NULL, 0, DISPATCH_PROPERTYGET,
                                    &none, &result, nullptr, nullptr));
    EXPECT_EQ(VT_DISPATCH, result.vt);
    VariantClear(&result);
}

// The state block of the page dialogs' templates loads; a damaged one is refused.
TEST_F(StandinBrowserTest, StateFromTheResourcesLoadsAndAMalformedOneIsRefused) {
    HRSRC hRes = FindResourceW(nullptr, MAKEINTRESOURCEW(129), MAKEINTRESOURCEW(240));
    ASSERT_NE(nullptr, hRes);
    const BYTE* pBlock = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, hRes)));
    ASSERT_EQ(170u, SizeofResource(nullptr, hRes));
    const std::string strGood(reinterpret_cast<const char*>(pBlock) + 8, 160);
    std::string strWrongClass = strGood;
    strWrongClass[84] = 0;
    IPersistStreamInit* pPersist = nullptr;
    ASSERT_EQ(S_OK, m_pObject->QueryInterface(IID_IPersistStreamInit,
                                              reinterpret_cast<void**>(&pPersist)));
    const struct {
        std::string strData;
        HRESULT hr;
    } cases[] = {{strGood, S_OK},
                 {strGood.substr(0, 100), E_FAIL},
                 {strGood + '\0', E_FAIL},
                 {strWrongClass, E_FAIL}};
    for (const auto& c : cases) {
        IStream* pStream = nullptr;
        ASSERT_EQ(S_OK, CreateStreamOnHGlobal(nullptr, TRUE, &pStream));
        pStream->Write(c.strData.data(), static_cast<ULONG>(c.strData.size()), nullptr);
        const LARGE_INTEGER zero = {};
        pStream->Seek(zero, STREAM_SEEK_SET, nullptr);
        EXPECT_EQ(c.hr, pPersist->Load(pStream)) << c.strData.size() << " bytes";
        pStream->Release();
    }
    pPersist->Release();
}

// Lines of the stand-in's call log that contain a text.
int LogLines(const char* pszText) {
    char szPath[MAX_PATH];
    if (!GetEnvironmentVariableA("QEL_BROWSER_LOG", szPath, MAX_PATH))
        return -1;
    FILE* pFile = fopen(szPath, "rb");
    if (!pFile)
        return 0;
    int nCount = 0;
    char szLine[1024];
    while (fgets(szLine, sizeof szLine, pFile)) {
        if (strstr(szLine, pszText))
            ++nCount;
    }
    fclose(pFile);
    return nCount;
}

// A real container, Wine's ATL host window, activates it in place and lets
// go of every object when its window goes.
TEST(StandinContainerTest, WinesAtlHostActivatesAndReleasesIt) {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    HMODULE hAtl = LoadLibraryW(L"atl.dll");
    ASSERT_NE(nullptr, hAtl);
    auto pfnInit = reinterpret_cast<BOOL(WINAPI*)()>(
        reinterpret_cast<void*>(GetProcAddress(hAtl, "AtlAxWinInit")));
    auto pfnGetControl = reinterpret_cast<HRESULT(WINAPI*)(HWND, IUnknown**)>(
        reinterpret_cast<void*>(GetProcAddress(hAtl, "AtlAxGetControl")));
    ASSERT_TRUE(pfnInit && pfnGetControl && pfnInit());
    const HWND hwndParent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 500, 320, nullptr,
                                            nullptr, nullptr, nullptr);
    const HWND hwndHost =
        CreateWindowExW(0, L"AtlAxWin", L"{8856F961-340A-11D0-A96B-00C04FD705A2}", WS_CHILD, 0, 0,
                        290, 60, hwndParent, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, hwndHost);
    IUnknown* pControl = nullptr;
    ASSERT_EQ(S_OK, pfnGetControl(hwndHost, &pControl));
    IOleWindow* pWindow = nullptr;
    ASSERT_EQ(S_OK, pControl->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&pWindow)));
    HWND hwndBrowser = nullptr;
    EXPECT_EQ(S_OK, pWindow->GetWindow(&hwndBrowser));
    EXPECT_EQ(hwndHost, GetParent(hwndBrowser));
    RECT rc = {};
    GetClientRect(hwndBrowser, &rc);
    EXPECT_EQ(290, rc.right);
    pWindow->Release();
    pControl->Release();
    DestroyWindow(hwndParent);
    const int nBrowsers = LogLines("new browser#");
    EXPECT_EQ(nBrowsers, LogLines("free browser#"));
    // The control's calls on a site: its interfaces, its container, its ambients.
    EXPECT_LE(1, LogLines("site QueryInterface IOleInPlaceSite: S_OK"));
    EXPECT_LE(1, LogLines("site GetContainer: "));
    EXPECT_LE(1, LogLines("site ambient SILENT: "));
    OleUninitialize();
}

// QEL_BROWSER=system hands the class to the system's own control.
TEST(StandinSwitchTest, SystemSwitchCreatesTheSystemControlInstead) {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    const int nBrowsers = LogLines("new browser#");
    ASSERT_LE(0, nBrowsers) << "QEL_BROWSER_LOG not set";
    SetEnvironmentVariableA("QEL_BROWSER", "system");
    IOleObject* pObject = nullptr;
    EXPECT_EQ(S_OK, CoCreateInstance(kClsidWebBrowser, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IOleObject, reinterpret_cast<void**>(&pObject)));
    SetEnvironmentVariableA("QEL_BROWSER", nullptr);
    if (pObject)
        pObject->Release();
    EXPECT_EQ(nBrowsers, LogLines("new browser#"));
    EXPECT_LE(1, LogLines("DllGetClassObject: the system's control (ieframe.dll)"));
    OleUninitialize();
}

} // namespace
