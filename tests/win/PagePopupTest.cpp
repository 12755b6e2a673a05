// A page dialog's pop-ups under Wine with the system's browser control, the
// events fired into the sinks as the control fires them: NewWindow3 opens a
// window the dialog owns, centred on it, whose control goes back to the
// caller; the page titles, places, sizes and closes it; a foreign scheme is
// cancelled, for a pop-up and for any navigation; the dialog's end closes
// every pop-up and releases their controls.
#include "tests/win/LoopbackListener.h"
#include "tests/win/WinTestApp.h"

#include "framework/ComPtr.h"
#include "framework/OleControlContainer.h"
#include "framework/OleControlSite.h"
#include "framework/OleVariant.h"
#include "res/resource.h"
#include "web/PayTestDlg.h"

#include <exdispid.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

class CPopupTestDlg : public CPayTestDlg {
public:
    std::function<void(CPopupTestDlg&)> m_body;
    BOOL OnInitDialog() override {
        BOOL bResult = CPayTestDlg::OnInitDialog();
        PostToModalLoop([this] { m_body(*this); });
        return bResult;
    }
    IDispatch* Sink() { return m_browser.GetControlSite()->GetEventSink(); }
    bool Open() const { return ContinueModal() != FALSE; }
};

BOOL CALLBACK AddPopup(HWND hWnd, LPARAM lParam) {
    char name[32] = {};
    ::GetClassNameA(hWnd, name, sizeof(name));
    if (std::string(name) == "QelPagePopup")
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}

// The pop-up windows of this thread.
std::vector<HWND> Popups() {
    std::vector<HWND> popups;
    ::EnumThreadWindows(::GetCurrentThreadId(), AddPopup, reinterpret_cast<LPARAM>(&popups));
    return popups;
}

// The event sink of the control inside a pop-up window.
IDispatch* PopupSink(HWND hWndPopup) {
    CWnd* pBrowser = CWnd::FromHandlePermanent(::GetWindow(hWndPopup, GW_CHILD));
    return pBrowser && pBrowser->GetControlSite() ? pBrowser->GetControlSite()->GetEventSink()
                                                  : nullptr;
}

// Fires an event; args as the handler lists them (reversed here).
HRESULT Fire(IDispatch* pSink, DISPID dispid, std::vector<VARIANT> args) {
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params = {reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    return pSink->Invoke(dispid, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
}

VARIANT Ref(IDispatch** pp) {
    VARIANT v;
    v.vt = VT_DISPATCH | VT_BYREF;
    v.ppdispVal = pp;
    return v;
}
VARIANT Ref(VARIANT_BOOL* p) {
    VARIANT v;
    v.vt = VT_BOOL | VT_BYREF;
    v.pboolVal = p;
    return v;
}
VARIANT Long(long n) {
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = n;
    return v;
}

// NewWindow3 for url; the browser handed back (the caller releases it) and Cancel.
std::pair<IDispatch*, VARIANT_BOOL> NewWindow3(IDispatch* pSink, const char* url) {
    IDispatch* pDisp = nullptr;
    VARIANT_BOOL bCancel = VARIANT_FALSE;
    COleVariant context("http://127.0.0.1:9/pay.html"), address(url);
    EXPECT_EQ(S_OK, Fire(pSink, DISPID_NEWWINDOW3,
                         {Ref(&pDisp), Ref(&bCancel), Long(6), context, address}));
    ::VariantClear(&context);
    ::VariantClear(&address);
    return {pDisp, bCancel};
}

class PagePopupTest : public ::testing::Test {
protected:
    void SetUp() override { ::SetEnvironmentVariableA("QEL_BROWSER", "system"); }
};

TEST_F(PagePopupTest, APopupOpensOwnedCentredAndClosesOnWindowClosing) {
    CPopupTestDlg dlg;
    dlg.m_strUrl = "http://127.0.0.1:9/plugin/wizard/QEL_pay_wizard.html";
    dlg.m_body = [](CPopupTestDlg& d) {
        auto opened = NewWindow3(d.Sink(), "https://127.0.0.1:9/cardauth");
        CComPtr<IDispatch> pBrowser;
        pBrowser.Attach(opened.first);
        EXPECT_EQ(VARIANT_FALSE, opened.second);
        ASSERT_NE(nullptr, pBrowser.p);
        ASSERT_EQ(1u, Popups().size());
        const HWND hWndPopup = Popups()[0];
        EXPECT_EQ(d.m_hWnd, ::GetWindow(hWndPopup, GW_OWNER));
        EXPECT_TRUE(::IsWindowVisible(hWndPopup));
        // The control handed back is the one in the window.
        CWnd* pCtrl = CWnd::FromHandlePermanent(::GetWindow(hWndPopup, GW_CHILD));
        ASSERT_NE(nullptr, pCtrl);
        CComPtr<IDispatch> pInWindow;
        pCtrl->GetControlUnknown()->QueryInterface(IID_IDispatch,
                                                   reinterpret_cast<void**>(&pInWindow));
        EXPECT_EQ(pInWindow.p, pBrowser.p);

        IDispatch* pSink = PopupSink(hWndPopup);
        ASSERT_NE(nullptr, pSink);
        COleVariant title("카드 인증");
        EXPECT_EQ(S_OK, Fire(pSink, DISPID_TITLECHANGE, {title}));
        ::VariantClear(&title);
        char text[64] = {};
        ::GetWindowTextA(hWndPopup, text, sizeof(text));
        EXPECT_STREQ("카드 인증", text);

        // Sized by the page (its own area), still centred on the dialog.
        Fire(pSink, DISPID_WINDOWSETWIDTH, {Long(320)});
        Fire(pSink, DISPID_WINDOWSETHEIGHT, {Long(200)});
        RECT rcClient, rcPopup, rcDlg;
        ::GetClientRect(hWndPopup, &rcClient);
        EXPECT_EQ(320, rcClient.right);
        EXPECT_EQ(200, rcClient.bottom);
        ::GetWindowRect(hWndPopup, &rcPopup);
        ::GetWindowRect(d.m_hWnd, &rcDlg);
        EXPECT_NEAR(rcDlg.left + rcDlg.right, rcPopup.left + rcPopup.right, 1);
        EXPECT_NEAR(rcDlg.top + rcDlg.bottom, rcPopup.top + rcPopup.bottom, 1);
        // The dialog fitted to its background after the pop-up opened: it follows.
        ::SetWindowPos(d.m_hWnd, nullptr, rcDlg.left + 37, rcDlg.top + 23, 500, 320,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        ::GetWindowRect(hWndPopup, &rcPopup);
        ::GetWindowRect(d.m_hWnd, &rcDlg);
        EXPECT_NEAR(rcDlg.left + rcDlg.right, rcPopup.left + rcPopup.right, 1);
        EXPECT_NEAR(rcDlg.top + rcDlg.bottom, rcPopup.top + rcPopup.bottom, 1);
        // Placed by the page: it stays where it is put, wherever the dialog goes.
        Fire(pSink, DISPID_WINDOWSETLEFT, {Long(40)});
        Fire(pSink, DISPID_WINDOWSETTOP, {Long(30)});
        Fire(pSink, DISPID_WINDOWSETWIDTH, {Long(300)});
        ::SetWindowPos(d.m_hWnd, nullptr, rcDlg.left - 20, rcDlg.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::GetWindowRect(hWndPopup, &rcPopup);
        EXPECT_EQ(40, rcPopup.left);
        EXPECT_EQ(30, rcPopup.top);

        VARIANT script;
        script.vt = VT_BOOL;
        script.boolVal = VARIANT_TRUE;
        VARIANT_BOOL bCancel = VARIANT_FALSE;
        EXPECT_EQ(S_OK, Fire(pSink, DISPID_WINDOWCLOSING, {script, Ref(&bCancel)}));
        EXPECT_TRUE(PumpUntil([] { return Popups().empty(); }, 5000));
        EXPECT_TRUE(d.Open()); // the dialog goes on
        d.EndDialog(0);
    };
    dlg.DoModal();
    EXPECT_EQ(0, COleControlSite::GetLiveCount());
}

TEST_F(PagePopupTest, AForeignSchemeIsCancelledForAPopupAndForAnyNavigation) {
    CPopupTestDlg dlg;
    dlg.m_strUrl = "http://127.0.0.1:9/plugin/wizard/QEL_pay_wizard.html";
    dlg.m_body = [](CPopupTestDlg& d) {
        for (const char* url : {"file:///C:/windows/win.ini", "ms-msdt:/id", "mk:@MSITStore:x"}) {
            auto opened = NewWindow3(d.Sink(), url);
            EXPECT_EQ(VARIANT_TRUE, opened.second) << url;
            EXPECT_EQ(nullptr, opened.first) << url;
        }
        EXPECT_TRUE(Popups().empty());
        for (const char* url : {"file:///C:/windows/win.ini", "http://127.0.0.1:9/a"}) {
            COleVariant address(url), empty;
            VARIANT_BOOL bCancel = VARIANT_FALSE;
            VARIANT byRef;
            byRef.vt = VT_VARIANT | VT_BYREF;
            byRef.pvarVal = &address;
            VARIANT frame;
            frame.vt = VT_DISPATCH;
            frame.pdispVal = d.Sink(); // any dispatch object stands for the frame
            EXPECT_EQ(S_OK, Fire(d.Sink(), DISPID_BEFORENAVIGATE2,
                                 {frame, byRef, empty, empty, empty, empty, Ref(&bCancel)}));
            EXPECT_EQ(url[0] == 'f' ? VARIANT_TRUE : VARIANT_FALSE, bCancel) << url;
            ::VariantClear(&address);
        }
        d.EndDialog(0);
    };
    dlg.DoModal();
}

// The time-out ends the dialog with its pop-ups open: they close with it.
TEST_F(PagePopupTest, PopupsCloseWhenTheDialogEnds) {
    CPopupTestDlg dlg;
    dlg.m_strUrl = "http://127.0.0.1:9/plugin/wizard/QEL_pay_wizard.html";
    size_t nOpen = 0;
    dlg.m_body = [&](CPopupTestDlg& d) {
        for (int i = 0; i < 2; ++i) {
            IDispatch* pDisp = nullptr;
            VARIANT_BOOL bCancel = VARIANT_FALSE;
            EXPECT_EQ(S_OK, Fire(d.Sink(), DISPID_NEWWINDOW2, {Ref(&pDisp), Ref(&bCancel)}));
            if (pDisp != nullptr)
                pDisp->Release();
        }
        nOpen = Popups().size();
        for (int i = 0; i <= 180; ++i)
            d.SendMessage(WM_TIMER, 1, 0);
    };
    dlg.DoModal();
    EXPECT_EQ(2u, nOpen);
    EXPECT_TRUE(Popups().empty());
    EXPECT_FALSE(dlg.m_strResult.IsEmpty()); // the time-out's text
    EXPECT_EQ(0, COleControlSite::GetLiveCount());
    EXPECT_EQ(0, COleControlContainer::GetLiveCount());
}

} // namespace
