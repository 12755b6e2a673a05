// The stand-in browser and its host: what it asks of a host that answers and
// of one that declines (the control's own menu, error dialog and window), the
// pop-up handed to a second browser, and navigations a sink cancels.
#include "tests/win/StandinBrowserFixture.h"
#include "tests/win/TestDocHost.h"

#include "framework/ComPtr.h"

#include <algorithm>

namespace {

const UINT kDispidBeforeNavigate2 = 250;
const UINT kDispidWindowClosing = 263;
const UINT kDispidNewWindow3 = 273;

// A top-level window the control shows by itself, by its title.
bool OwnWindowShown(const wchar_t* pszTitle) {
    const HWND hWnd = FindWindowW(L"QelStandinOwnWindow", pszTitle);
    return hWnd && IsWindowVisible(hWnd);
}

class StandinHostFixture : public StandinBrowserFixture {
protected:
    explicit StandinHostFixture(HRESULT hrAnswer) : m_pHost(new CTestDocHost(hrAnswer)) {}
    ~StandinHostFixture() override { m_pHost->Release(); }

    void SetUp() override {
        m_pDocHost = static_cast<IDocHostUIHandler*>(m_pHost);
        StandinBrowserFixture::SetUp();
        if (!IsSkipped() && !HasFatalFailure()) {
            ASSERT_EQ(S_OK, m_pObject->DoVerb(OLEIVERB_UIACTIVATE, nullptr, m_pSite, 0,
                                              m_hwndParent, nullptr));
        }
    }

    size_t Fired(DISPID dispid) const {
        return static_cast<size_t>(std::count_if(
            m_pSink->m_vecFired.begin(), m_pSink->m_vecFired.end(),
            [dispid](const CTestSink::CFired& fired) { return fired.dispid == dispid; }));
    }

    // A key as the container's message loop offers it to the active object.
    HRESULT Key(WPARAM vk, bool bCtrl = false) {
        BYTE state[256];
        GetKeyboardState(state);
        state[VK_CONTROL] = bCtrl ? 0x80 : 0;
        SetKeyboardState(state);
        IOleInPlaceActiveObject* pActive = nullptr;
        m_pObject->QueryInterface(IID_IOleInPlaceActiveObject, reinterpret_cast<void**>(&pActive));
        MSG msg = {};
        msg.hwnd = BrowserWindow();
        msg.message = WM_KEYDOWN;
        msg.wParam = vk;
        const HRESULT hr = pActive ? pActive->TranslateAccelerator(&msg) : E_NOINTERFACE;
        if (pActive)
            pActive->Release();
        state[VK_CONTROL] = 0;
        SetKeyboardState(state);
        return hr;
    }

    void RightClick() {
        SendMessageW(BrowserWindow(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(BrowserWindow()),
                     MAKELPARAM(40, 40));
    }

    CTestDocHost* m_pHost;
};

class StandinDeclinedTest : public StandinHostFixture {
protected:
    StandinDeclinedTest() : StandinHostFixture(S_FALSE) {}
};

class StandinHostTest : public StandinHostFixture {
protected:
    StandinHostTest() : StandinHostFixture(S_OK) {}
};

// The host is asked and declines everything: the control's own error dialog,
// new window and menu appear, F5 reloads and Ctrl+N opens a window.
TEST_F(StandinDeclinedTest, ControlActsOnWhatTheHostDeclines) {
    EXPECT_EQ(1, m_pHost->m_nHostInfo);
    NavigateTo(L"QEL_pay_wizard.html?flow=popupstall");
    ASSERT_TRUE(WaitForEvents(1));
    EXPECT_EQ(1, m_pHost->m_nScriptErrors);
    EXPECT_TRUE(OwnWindowShown(L"Script Error"));
    // The onload's window.open still ran, and no sink took the window.
    EXPECT_EQ(1u, Fired(kDispidNewWindow3));
    EXPECT_TRUE(OwnWindowShown(L"Internet Explorer"));

    RightClick();
    EXPECT_EQ(1, m_pHost->m_nContextMenus);
    EXPECT_TRUE(OwnWindowShown(L"Context Menu"));

    EXPECT_EQ(S_OK, Key(VK_F5));
    EXPECT_EQ(2u, Fired(kDispidBeforeNavigate2));
    EXPECT_EQ(S_OK, Key('N', true));
    EXPECT_EQ(2u, Fired(kDispidNewWindow3));
    EXPECT_EQ(S_FALSE, Key('A'));
    EXPECT_EQ((std::vector<WPARAM>{VK_F5, 'N', 'A'}), m_pHost->m_vecKeysDown);

    // They close with the browser.
    m_pObject->Close(OLECLOSE_NOSAVE);
    EXPECT_FALSE(OwnWindowShown(L"Context Menu"));
    EXPECT_FALSE(OwnWindowShown(L"Script Error"));
}

// A host that answers keeps every one of them for itself.
TEST_F(StandinHostTest, HostThatAnswersKeepsMenuKeysAndErrors) {
    NavigateTo(L"QEL_pay_wizard.html?flow=popupstall");
    ASSERT_TRUE(WaitForEvents(1));
    EXPECT_EQ(1, m_pHost->m_nScriptErrors);
    EXPECT_FALSE(OwnWindowShown(L"Script Error"));
    // The scripts went on after the error: the pop-up was asked for.
    EXPECT_EQ(1u, Fired(kDispidNewWindow3));

    RightClick();
    EXPECT_EQ(1, m_pHost->m_nContextMenus);
    EXPECT_FALSE(OwnWindowShown(L"Context Menu"));
    EXPECT_EQ(S_OK, Key(VK_F5));
    EXPECT_EQ(S_OK, Key('N', true));
    EXPECT_EQ(1u, Fired(kDispidBeforeNavigate2));
    EXPECT_EQ(1u, Fired(kDispidNewWindow3));
}

// A second browser, as a host's pop-up window holds one.
struct CPopupBrowser {
    explicit CPopupBrowser(HWND hwndParent) : pSite(new CTestSite(hwndParent, RECT{})) {
        CComPtr<IConnectionPointContainer> container;
        RECT rc = {0, 0, 0, 0};
        if (FAILED(CoCreateInstance(kClsidWebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                    reinterpret_cast<void**>(&pObject))) ||
            FAILED(pObject->SetClientSite(pSite)) ||
            FAILED(pObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, pSite, 0, hwndParent, &rc)) ||
            FAILED(pObject.QueryInterface(&container)) ||
            FAILED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, &pPoint)))
            return;
        pPoint->Advise(pSink, &dwCookie);
    }
    ~CPopupBrowser() {
        pSink->Clear();
        if (dwCookie)
            pPoint->Unadvise(dwCookie);
        if (pObject != nullptr) {
            pObject->Close(OLECLOSE_NOSAVE);
            pObject->SetClientSite(nullptr);
        }
        pSite->Release();
        pSink->Release();
    }
    HWND Window() {
        CComPtr<IOleWindow> window;
        HWND hwnd = nullptr;
        if (SUCCEEDED(pObject.QueryInterface(&window)))
            window->GetWindow(&hwnd);
        return hwnd;
    }

    CTestSite* pSite;
    CTestSink* pSink = new CTestSink();
    CComPtr<IOleObject> pObject;
    CComPtr<IConnectionPoint> pPoint;
    DWORD dwCookie = 0;
};

// The card company's pop-up, handed to a browser of the host's: it loads the
// authentication page, moves on, sends its opener to the result and asks to
// close; the opener completes the result page.
TEST_F(StandinHostTest, PopupHandedBackDrivesItsOpenerAndAsksToClose) {
    CPopupBrowser popup(m_hwndParent);
    ASSERT_NE(0u, popup.dwCookie);
    m_pSink->m_onNewWindow = [&popup] {
        IDispatch* pDisp = nullptr;
        popup.pObject->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&pDisp));
        return pDisp;
    };
    NavigateTo(L"QEL_pay_wizard.html?flow=popup");
    ASSERT_TRUE(WaitForEvents(1));
    ASSERT_TRUE(PumpUntil([&popup] { return popup.pSink->m_vecEvents.size() >= 1; }));
    EXPECT_EQ(m_strBase + L"QEL_pay_auth.html?flow=popup", popup.pSink->m_vecEvents[0].strUrl);
    // window.open's size, before the pop-up's first navigation.
    ASSERT_LE(3u, popup.pSink->m_vecFired.size());
    EXPECT_EQ(266, popup.pSink->m_vecFired[0].dispid); // WindowSetWidth
    EXPECT_EQ(267, popup.pSink->m_vecFired[1].dispid); // WindowSetHeight
    EXPECT_EQ(250, popup.pSink->m_vecFired[2].dispid);
    EXPECT_FALSE(OwnWindowShown(L"Internet Explorer"));

    PostMessageW(popup.Window(), WM_TIMER, kRefreshTimer, 0);
    ASSERT_TRUE(WaitForEvents(2));
    EXPECT_EQ(m_strBase + L"wizard_result.html?flow=popup", m_pSink->m_vecEvents[1].strUrl);
    EXPECT_EQ(L"<HTML><HEAD></HEAD>\r\n<BODY>y|ok|</BODY></HTML>", OuterHtml(m_pDisp));
    ASSERT_EQ(2u, popup.pSink->m_vecEvents.size());
    EXPECT_EQ(m_strBase + L"QEL_pay_auth_done.html?flow=popup", popup.pSink->m_vecEvents[1].strUrl);
    const auto& fired = popup.pSink->m_vecFired;
    EXPECT_TRUE(std::any_of(fired.begin(), fired.end(), [](const CTestSink::CFired& event) {
        return event.dispid == kDispidWindowClosing && event.strTypes == "11 16395";
    }));
    m_pSink->m_onNewWindow = nullptr;
}

// A sink that cancels every address outside the web: the frame on an
// application protocol never loads, the refresh to a local file leaves the
// page as it is, and the other frame's own refresh still reaches the marker.
TEST_F(StandinHostTest, CancelledNavigationsLeaveThePageAndItsFrames) {
    m_pSink->m_cancelIf = [](const std::wstring& strUrl) {
        return strUrl.compare(0, 5, L"http:") != 0;
    };
    NavigateTo(L"wizard_setup.html?flow=scheme");
    ASSERT_TRUE(WaitForEvents(2));
    EXPECT_EQ(m_strBase + L"QEL_setup_frame.html?flow=scheme", m_pSink->m_vecEvents[0].strUrl);
    EXPECT_TRUE(IsTop(m_pSink->m_vecEvents[1]));
    EXPECT_EQ(3u, Fired(kDispidBeforeNavigate2)); // the page and both frames

    FireRefresh();
    ASSERT_TRUE(PumpUntil([this] { return Fired(kDispidBeforeNavigate2) == 4; }));
    EXPECT_NE(std::wstring::npos, OuterHtml(m_pDisp).find(L"카드사 인증 플러그인을 설치합니다."));

    FireRefresh(kFrameRefreshTimer);
    ASSERT_TRUE(WaitForEvents(3));
    EXPECT_EQ(m_strBase + L"wizard_install.html?flow=scheme", m_pSink->m_vecEvents[2].strUrl);
    EXPECT_FALSE(IsTop(m_pSink->m_vecEvents[2]));
}

} // namespace
