// The page dialogs under Wine with the system's browser control, which makes
// no documents here: their start, their ways of ending and the payment
// test's countdown, driven by WM_TIMER sent from inside the modal loop.
#include "tests/win/LoopbackListener.h"
#include "tests/win/WinTestApp.h"

#include "framework/OleVariant.h"
#include "res/resource.h"
#include "web/PayTestDlg.h"
#include "web/SetupPageDlg.h"
#include "wizard/PaymentVerdict.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

// A browser object of a frame that offers nothing beyond IDispatch.
class CFakeDispatch : public IDispatch {
public:
    LONG m_nRefs = 1;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        *ppv = nullptr;
        if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDispatch))
            return E_NOINTERFACE;
        *ppv = this;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++m_nRefs); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--m_nRefs); }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }
};

// A page dialog that runs the test body from inside its modal loop and lets
// the test fire its browser's DocumentComplete.
template <typename Base, int BrowserId> class CTestPageDlg : public Base {
public:
    std::function<void(CTestPageDlg&)> m_body;

    BOOL OnInitDialog() override {
        BOOL bResult = Base::OnInitDialog();
        if (m_body)
            PostToModalLoop([this] { m_body(*this); });
        return bResult;
    }
    bool Open() const { return this->ContinueModal() != FALSE; }
    void Complete(LPCTSTR address, CFakeDispatch& source) {
        COleVariant varUrl(address);
        this->OnDocumentComplete(&source, &varUrl);
    }
    // The browser control's rectangle in client coordinates.
    RECT Browser() const {
        RECT rc = {};
        ::GetWindowRect(::GetDlgItem(this->m_hWnd, BrowserId), &rc);
        ::MapWindowPoints(nullptr, this->m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
    int Countdown() const { return this->m_nCountdown; }
};

using CTestPayTestDlg = CTestPageDlg<CPayTestDlg, IDC_BROWSER_PAYTEST>;
using CTestSetupPageDlg = CTestPageDlg<CSetupPageDlg, IDC_BROWSER_SETUP>;

std::string Rect(const RECT& rc) {
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + " " +
           std::to_string(rc.right - rc.left) + "x" + std::to_string(rc.bottom - rc.top);
}

class PageDlgTest : public ::testing::Test {
protected:
    void SetUp() override { ::SetEnvironmentVariableA("QEL_BROWSER", "system"); }
};

} // namespace

TEST_F(PageDlgTest, PayTestTimesOutOnThe181stTickOfAnyTimer) {
    CTestPayTestDlg dlg;
    dlg.m_strUrl = "http://127.0.0.1:9/plugin/wizard/QEL_pay_wizard.html";
    dlg.m_body = [](CTestPayTestDlg& d) {
        EXPECT_EQ(180, d.Countdown());
        EXPECT_EQ("0,0 0x0", Rect(d.Browser()));
        const UINT ids[] = {1, 2, 0, 4242};
        for (int i = 0; i < 180; ++i)
            d.SendMessage(WM_TIMER, ids[i % 4], 0);
        EXPECT_EQ(0, d.Countdown());
        EXPECT_TRUE(d.Open());
        EXPECT_EQ(CString(), d.m_strResult);
        d.SendMessage(WM_TIMER, 3, 0);
        EXPECT_FALSE(d.Open());
        EXPECT_FALSE(::KillTimer(d.m_hWnd, 1)); // stopped with the time-out
    };
    EXPECT_EQ(0, dlg.DoModal());

    const std::string text(dlg.m_strResult);
    EXPECT_EQ(PAYTEST_TIMEOUT_RESULT, text);
    EXPECT_EQ(105u, text.size());
    EXPECT_EQ(2, std::count(text.begin(), text.end(), '\n'));
    EXPECT_NE(std::string::npos, text.find(".\n\n"));
}

TEST_F(PageDlgTest, PayTestMarkerPageBeforeTheTimeOutEndsIt) {
    CTestPayTestDlg dlg;
    dlg.m_strUrl = "http://127.0.0.1:9/plugin/wizard/QEL_pay_wizard.html";
    CFakeDispatch frame;
    dlg.m_body = [&frame](CTestPayTestDlg& d) {
        for (int i = 0; i < 100; ++i)
            d.SendMessage(WM_TIMER, 1, 0);
        d.Complete("http://127.0.0.1/plugin/wizard/pay_step.html", frame);
        EXPECT_EQ("0,0 495x310", Rect(d.Browser()));
        EXPECT_TRUE(d.Open());
        EXPECT_EQ(80, d.Countdown());
        // No document in the system control here: the result stays as it was.
        d.m_strResult = "kept";
        d.Complete("http://127.0.0.1/plugin/wizard/wizard_result.html", frame);
        EXPECT_FALSE(d.Open());
    };
    EXPECT_EQ(0, dlg.DoModal());
    EXPECT_EQ(CString("kept"), dlg.m_strResult);
    EXPECT_EQ(1, frame.m_nRefs);
}

TEST_F(PageDlgTest, PayTestNavigatesItsControlToTheGivenAddress) {
    CLoopbackListener listener;
    ASSERT_NE(0, listener.Port());
    CTestPayTestDlg dlg;
    dlg.m_strUrl = ("http://127.0.0.1:" + std::to_string(listener.Port()) +
                    "/plugin/wizard/QEL_pay_wizard.html")
                       .c_str();
    dlg.m_body = [&listener](CTestPayTestDlg& d) {
        PumpUntil([&listener] { return listener.HasRequest(); }, 20000);
        d.EndDialog(0);
    };
    dlg.DoModal();
    EXPECT_EQ("GET /plugin/wizard/QEL_pay_wizard.html HTTP/1.1", listener.RequestLine());
}

TEST_F(PageDlgTest, PayTestEscBeforeAnyPageGivesNoResultAndEachRunStartsAfresh) {
    for (int run = 0; run < 2; ++run) {
        CTestPayTestDlg dlg;
        dlg.m_strUrl = "http://127.0.0.1:9/plugin/wizard/QEL_pay_wizard.html";
        int nStart = -1;
        dlg.m_body = [&nStart](CTestPayTestDlg& d) {
            nStart = d.Countdown();
            d.SendMessage(WM_TIMER, 1, 0);
            ::PostMessageA(d.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
        };
        dlg.DoModal();
        EXPECT_EQ(180, nStart) << "run " << run;
        EXPECT_EQ(CString(), dlg.m_strResult) << "run " << run;
    }
}

TEST_F(PageDlgTest, SetupPageStaysOpenUntilItsOkPictureIsPressed) {
    CTestSetupPageDlg dlg;
    CFakeDispatch frame;
    dlg.m_body = [&frame](CTestSetupPageDlg& d) {
        // The template's order is the tab order: the browser, then 확인.
        const HWND hBrowser = ::GetDlgItem(d.m_hWnd, IDC_BROWSER_SETUP);
        EXPECT_EQ(hBrowser, ::GetNextDlgTabItem(d.m_hWnd, nullptr, FALSE));
        EXPECT_EQ(::GetDlgItem(d.m_hWnd, IDC_BTN_OK),
                  ::GetNextDlgTabItem(d.m_hWnd, hBrowser, FALSE));
        const HWND hFocus = ::GetFocus();
        EXPECT_TRUE(hFocus == hBrowser || ::IsChild(hBrowser, hFocus)) << hFocus;
        EXPECT_EQ("0,0 0x0", Rect(d.Browser()));
        EXPECT_FALSE(::KillTimer(d.m_hWnd, 1)); // no timer of its own
        d.SendMessage(WM_TIMER, 1, 0);
        d.Complete("http://127.0.0.1/plugin/wizard/wizard_result.html", frame);
        EXPECT_EQ("29,63 290x60", Rect(d.Browser()));
        EXPECT_TRUE(d.Open());
        ::SendMessageA(::GetDlgItem(d.m_hWnd, IDC_BTN_OK), WM_LBUTTONDOWN, MK_LBUTTON,
                       MAKELPARAM(5, 5));
        EXPECT_FALSE(d.Open());
    };
    EXPECT_EQ(0, dlg.DoModal());
    EXPECT_EQ(1, frame.m_nRefs);
}

TEST_F(PageDlgTest, SetupPageMarkerWithoutDocumentKeepsTheResult) {
    CTestSetupPageDlg dlg;
    dlg.m_strResult = "kept";
    CFakeDispatch frame;
    dlg.m_body = [&frame](CTestSetupPageDlg& d) {
        d.Complete("http://127.0.0.1/plugin/wizard/wizard_install.html", frame);
        EXPECT_FALSE(d.Open());
    };
    EXPECT_EQ(0, dlg.DoModal());
    EXPECT_EQ(CString("kept"), dlg.m_strResult);
}
