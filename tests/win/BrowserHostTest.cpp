// The system's WebBrowser control hosted from the setup page template: the
// control window, its events, navigation and closing.
#include "tests/win/LoopbackListener.h"
#include "tests/win/TestResource.h"
#include "tests/win/WinTestApp.h"

#include "framework/ComPtr.h"
#include "framework/Dialog.h"
#include "framework/OleControlContainer.h"
#include "framework/OleControlSite.h"
#include "framework/OleVariant.h"
#include "res/resource.h"
#include "web/WebBrowser2.h"

#include <exdisp.h>
#include <exdispid.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The template with the browser, its events counted.
class CBrowserTestDlg : public CDialog {
public:
    CBrowserTestDlg() : CDialog(IDD_SETUP_PAGE) {}

    CWebBrowser2 m_browser;
    std::function<void(CBrowserTestDlg&)> m_onInit;
    int m_nBeforeNavigate = 0;
    int m_nDocumentComplete = 0;
    LPDISPATCH m_pLastDisp = nullptr;
    std::wstring m_strLastUrl;

    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_BROWSER_SETUP, m_browser);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        if (m_onInit)
            m_onInit(*this);
        return TRUE;
    }
    void OnBeforeNavigate2(LPDISPATCH, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*,
                           VARIANT_BOOL*) {
        ++m_nBeforeNavigate;
    }
    void OnDocumentComplete(LPDISPATCH pDisp, VARIANT* URL) {
        ++m_nDocumentComplete;
        m_pLastDisp = pDisp;
        m_strLastUrl = URL->vt == VT_BSTR && URL->bstrVal ? URL->bstrVal : L"";
    }

    DECLARE_EVENTSINK_MAP()
};

#define VTS_NAVIGATE VTS_DISPATCH VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT
BEGIN_EVENTSINK_MAP(CBrowserTestDlg, CDialog)
ON_EVENT(CBrowserTestDlg, IDC_BROWSER_SETUP, 250, OnBeforeNavigate2, VTS_NAVIGATE VTS_PBOOL)
ON_EVENT(CBrowserTestDlg, IDC_BROWSER_SETUP, DISPID_DOCUMENTCOMPLETE, OnDocumentComplete,
         VTS_DISPATCH VTS_PVARIANT)
END_EVENTSINK_MAP()

// References held on an object besides the caller's own.
ULONG OtherReferences(IUnknown* p) {
    p->AddRef();
    return p->Release() - 1;
}

IDispatch* EventSinkOf(CWnd& control) {
    COleControlSite* pSite = control.GetControlSite();
    return pSite ? pSite->GetEventSink() : nullptr;
}

RECT WindowRectIn(HWND hWnd, HWND hWndParent) {
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    ::MapWindowPoints(nullptr, hWndParent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

class BrowserHostTest : public ::testing::Test {
protected:
    void SetUp() override { ::SetEnvironmentVariableA("QEL_BROWSER", "system"); }
};

TEST_F(BrowserHostTest, TemplateControlNavigatesAndClosesCleanly) {
    CLoopbackListener listener;
    ASSERT_NE(0, listener.Port());
    CBrowserTestDlg dlg;
    HWND hWndCtrl = nullptr;
    IDispatch* pSink = nullptr;
    ULONG nSinkRefsOpen = 0;
    CComPtr<IDispatch> pDoc, pControlDoc;
    dlg.m_onInit = [&](CBrowserTestDlg& d) {
        PostToModalLoop([&] {
            PumpUntil([&] { return listener.HasRequest(); }, 20000);
            // The wrapper hands on the control's own Document property.
            pDoc.Attach(dlg.m_browser.GetDocument());
            CComPtr<IWebBrowser2> pWebBrowser;
            if (IUnknown* pUnk = dlg.m_browser.GetControlUnknown())
                pUnk->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&pWebBrowser));
            if (pWebBrowser != nullptr)
                pWebBrowser->get_Document(&pControlDoc);
            dlg.EndDialog(0);
        });
        CWnd* pCtrl = d.GetDlgItem(IDC_BROWSER_SETUP);
        ASSERT_NE(nullptr, pCtrl);
        hWndCtrl = pCtrl->m_hWnd;
        EXPECT_EQ(hWndCtrl, d.m_browser.m_hWnd);
        EXPECT_EQ(d.m_hWnd, ::GetParent(hWndCtrl));
        EXPECT_EQ(IDC_BROWSER_SETUP, ::GetDlgCtrlID(hWndCtrl));

        d.m_browser.MoveWindow(0, 0, 0, 0);
        RECT rc = WindowRectIn(hWndCtrl, d.m_hWnd);
        EXPECT_EQ(0, rc.right - rc.left);
        d.m_browser.MoveWindow(29, 63, 290, 60);
        rc = WindowRectIn(hWndCtrl, d.m_hWnd);
        EXPECT_EQ((RECT{29, 63, 319, 123}).left, rc.left);
        EXPECT_EQ(290, rc.right - rc.left);
        EXPECT_EQ(60, rc.bottom - rc.top);

        EXPECT_NE(nullptr, d.m_browser.GetControlUnknown());
        // The framework and the control's connection point hold the sink.
        pSink = EventSinkOf(d.m_browser);
        ASSERT_NE(nullptr, pSink);
        pSink->AddRef();
        nSinkRefsOpen = OtherReferences(pSink);

        std::string url = "http://127.0.0.1:" + std::to_string(listener.Port()) +
                          "/plugin/wizard/wizard_setup.html";
        COleVariant vtUrl(url.c_str()), vtEmpty;
        d.m_browser.Navigate2(&vtUrl, &vtEmpty, &vtEmpty, &vtEmpty, &vtEmpty);
    };
    dlg.DoModal();

    EXPECT_EQ("GET /plugin/wizard/wizard_setup.html HTTP/1.1", listener.RequestLine());
    EXPECT_EQ(pControlDoc.p, pDoc.p);
    EXPECT_GE(dlg.m_nBeforeNavigate, 1);
    EXPECT_FALSE(::IsWindow(hWndCtrl));
    // The control let go of its site and of the site's container.
    EXPECT_EQ(0, COleControlSite::GetLiveCount());
    EXPECT_EQ(0, COleControlContainer::GetLiveCount());
    EXPECT_EQ(nullptr, dlg.m_browser.m_hWnd);
    ASSERT_NE(nullptr, pSink);
    EXPECT_GE(nSinkRefsOpen, 2u);
    EXPECT_EQ(0u, OtherReferences(pSink)); // unadvised and let go at close
    pSink->Release();
}

// Events reach the handler with their arguments in order; an event whose
// arguments do not match the entry is refused without a call.
TEST_F(BrowserHostTest, SinkMatchesArgumentsToTheEntry) {
    CBrowserTestDlg dlg;
    std::vector<HRESULT> results;
    dlg.m_onInit = [&](CBrowserTestDlg& d) {
        PostToModalLoop([&] { dlg.EndDialog(0); });
        IDispatch* pSink = EventSinkOf(d.m_browser);
        ASSERT_NE(nullptr, pSink);

        IDispatch* pFrame = pSink; // any dispatch object stands for the frame
        COleVariant url("http://x/wizard_install");
        VARIANT args[2];
        args[1].vt = VT_DISPATCH; // DISPPARAMS hold the last argument first
        args[1].pdispVal = pFrame;
        args[0].vt = VT_VARIANT | VT_BYREF;
        args[0].pvarVal = &url;
        DISPPARAMS good = {args, nullptr, 2, 0};
        auto invoke = [&](DISPID id, DISPPARAMS* p) {
            UINT nErr = 99;
            results.push_back(
                pSink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, p, nullptr, nullptr, &nErr));
        };
        invoke(DISPID_DOCUMENTCOMPLETE, &good);
        DISPPARAMS tooFew = {args, nullptr, 1, 0};
        invoke(DISPID_DOCUMENTCOMPLETE, &tooFew);
        VARIANT swapped[2] = {args[1], args[0]};
        DISPPARAMS wrongTypes = {swapped, nullptr, 2, 0};
        invoke(DISPID_DOCUMENTCOMPLETE, &wrongTypes);
        DISPPARAMS none = {nullptr, nullptr, 0, 0};
        invoke(DISPID_DOCUMENTCOMPLETE, &none);
        invoke(4242, &none); // no entry: ignored
        EXPECT_EQ(1, d.m_nDocumentComplete);
        EXPECT_EQ(pFrame, d.m_pLastDisp);
        EXPECT_EQ(L"http://x/wizard_install", d.m_strLastUrl);
    };
    dlg.DoModal();
    EXPECT_EQ((std::vector<HRESULT>{S_OK, DISP_E_BADPARAMCOUNT, DISP_E_TYPEMISMATCH,
                                    DISP_E_BADPARAMCOUNT, S_OK}),
              results);
}

TEST_F(BrowserHostTest, CreateFromCodeAndDynamicCreation) {
    const CRuntimeClass* pClass = RUNTIME_CLASS(CWebBrowser2);
    EXPECT_STREQ("CWebBrowser2", pClass->m_lpszClassName);
    EXPECT_EQ(static_cast<int>(sizeof(CWnd)), pClass->m_nObjectSize);
    EXPECT_EQ(0xFFFFu, pClass->m_wSchema);
    EXPECT_EQ(RUNTIME_CLASS(CWnd), pClass->m_pBaseClass);
    CCmdTarget* pObject = pClass->CreateObject();
    ASSERT_NE(nullptr, dynamic_cast<CWebBrowser2*>(pObject));
    EXPECT_EQ(pClass, pObject->GetRuntimeClass());
    delete pObject;

    CDialog dlg(IDD_TEST_DIALOG);
    CWebBrowser2 browser;
    CWnd other;
    BOOL bCreated = FALSE, bBadClass = TRUE;
    HWND hWndCtrl = nullptr;
    PostToModalLoop([&] {
        bCreated =
            browser.Create(nullptr, "", WS_CHILD | WS_VISIBLE, RECT{5, 5, 105, 55}, &dlg, 77);
        hWndCtrl = ::GetDlgItem(dlg.m_hWnd, 77);
        const CLSID clsidNone = {0x1badc0de, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
        bBadClass = other.CreateControl(clsidNone, "", WS_CHILD, RECT{0, 0, 1, 1}, &dlg, 78);
        dlg.EndDialog(0);
    });
    dlg.DoModal();
    EXPECT_TRUE(bCreated);
    EXPECT_NE(nullptr, hWndCtrl);
    EXPECT_FALSE(::IsWindow(hWndCtrl));
    EXPECT_FALSE(bBadClass);
    EXPECT_EQ(nullptr, other.m_hWnd);
}

} // namespace
