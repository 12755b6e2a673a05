// The class library's dialog machinery against a real dialog template.
#include "tests/win/TestResource.h"
#include "tests/win/WinTestApp.h"

#include "framework/Dialog.h"
#include "framework/ListBox.h"
#include "framework/Static.h"

#include <gtest/gtest.h>

namespace {

class CCountingStatic : public CStatic {
public:
    int m_nPreTranslated = 0;
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == WM_LBUTTONDOWN)
            ++m_nPreTranslated;
        return CStatic::PreTranslateMessage(pMsg);
    }
};

class CTestDlg : public CDialog {
public:
    CTestDlg() : CDialog(IDD_TEST_DIALOG) {}

    CListBox m_list;
    CCountingStatic m_click;
    int m_nClicks = 0;
    int m_nCreates = 0;
    int m_nInits = 0;
    std::function<void(CTestDlg&)> m_onInit;

    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_TEST_LIST, m_list);
        DDX_Control(pDX, IDC_TEST_CLICK, m_click);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        ++m_nInits;
        if (m_onInit)
            m_onInit(*this);
        return TRUE;
    }
    void OnClick() { ++m_nClicks; }
    int OnCreate(LPCREATESTRUCT lpCreateStruct) {
        ++m_nCreates;
        return CDialog::OnCreate(lpCreateStruct);
    }
    void OnTimer(UINT nIDEvent) {
        if (nIDEvent == 7)
            EndDialog(42);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestDlg, CDialog)
ON_STN_CLICKED(IDC_TEST_CLICK, OnClick)
ON_WM_CREATE()
ON_WM_TIMER()
END_MESSAGE_MAP()

} // namespace

TEST(DialogTest, BindsControlsRoutesClicksAndEndsFromATimer) {
    CTestDlg dlg;
    HWND hWndList = nullptr;
    dlg.m_onInit = [&](CTestDlg& d) {
        hWndList = ::GetDlgItem(d.m_hWnd, IDC_TEST_LIST);
        // A press on the notify static, posted so that it goes through the
        // modal loop, then the timer that ends the dialog.
        ::PostMessageA(d.m_click.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        ::PostMessageA(d.m_click.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        ::PostMessageA(d.m_hWnd, WM_TIMER, 7, 0);
    };
    EXPECT_EQ(42, dlg.DoModal());
    EXPECT_EQ(1, dlg.m_nInits);
    EXPECT_EQ(1, dlg.m_nCreates); // subclassed from creation on
    EXPECT_EQ(1, dlg.m_nClicks);
    EXPECT_EQ(1, dlg.m_click.m_nPreTranslated);
    EXPECT_NE(nullptr, hWndList);
    // The window is gone and the control objects are unbound again.
    EXPECT_EQ(nullptr, dlg.m_hWnd);
    EXPECT_EQ(nullptr, dlg.m_list.m_hWnd);
    EXPECT_FALSE(::IsWindow(hWndList));
}

TEST(DialogTest, ControlObjectsAreFoundFromTheirHandles) {
    CTestDlg dlg;
    dlg.m_onInit = [](CTestDlg& d) {
        HWND hWndList = ::GetDlgItem(d.m_hWnd, IDC_TEST_LIST);
        EXPECT_EQ(&d.m_list, CWnd::FromHandlePermanent(hWndList));
        EXPECT_EQ(&d.m_list, d.GetDlgItem(IDC_TEST_LIST));
        d.m_list.AddString("첫 줄");
        d.m_list.AddString(" ");
        EXPECT_EQ(2, d.m_list.GetCount());
        CString text;
        d.m_list.GetText(0, text);
        EXPECT_EQ(CString("첫 줄"), text);
        // A window without an object of its own gets a temporary one.
        CWnd* pOk = d.GetDlgItem(IDOK);
        ASSERT_NE(nullptr, pOk);
        EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(pOk->m_hWnd));
        d.EndDialog(5);
    };
    EXPECT_EQ(5, dlg.DoModal());
}

TEST(DialogTest, EscapeAndEnterReachOnCancelAndOnOK) {
    for (const auto& key : {std::make_pair(VK_ESCAPE, IDCANCEL), std::make_pair(VK_RETURN, IDOK)}) {
        CTestDlg dlg;
        dlg.m_onInit = [&](CTestDlg& d) {
            ::PostMessageA(d.m_list.m_hWnd, WM_KEYDOWN, key.first, 0);
        };
        EXPECT_EQ(key.second, dlg.DoModal()) << "key " << key.first;
    }
}

TEST(DialogTest, NestedDialogIsOwnedByTheMainWindowAndDisablesIt) {
    CTestDlg outer;
    CWnd* pOldMain = AfxGetApp()->m_pMainWnd;
    AfxGetApp()->m_pMainWnd = &outer;
    HWND hWndOwner = nullptr;
    HWND hWndOuter = nullptr;
    BOOL bOuterEnabledInside = TRUE;
    outer.m_onInit = [&](CTestDlg& o) {
        hWndOuter = o.m_hWnd;
        PostToModalLoop([&] {
            CTestDlg inner;
            inner.m_onInit = [&](CTestDlg& i) {
                hWndOwner = ::GetWindow(i.m_hWnd, GW_OWNER);
                bOuterEnabledInside = ::IsWindowEnabled(o.m_hWnd);
                i.EndDialog(3);
            };
            EXPECT_EQ(3, inner.DoModal());
            EXPECT_TRUE(::IsWindowEnabled(o.m_hWnd));
            o.EndDialog(4);
        });
    };
    EXPECT_EQ(4, outer.DoModal());
    AfxGetApp()->m_pMainWnd = pOldMain;
    EXPECT_NE(nullptr, hWndOuter);
    EXPECT_EQ(hWndOuter, hWndOwner);
    EXPECT_FALSE(bOuterEnabledInside);
}

TEST(DialogTest, MissingTemplateFailsWithoutAWindow) {
    CDialog dlg(4711);
    EXPECT_EQ(-1, dlg.DoModal());
    EXPECT_EQ(nullptr, dlg.m_hWnd);
}
