// Control containment against a fake control: a refused state, keys offered
// to the control, and the order of closing.
#include "tests/win/FakeControl.h"
#include "tests/win/TestResource.h"
#include "tests/win/WinTestApp.h"

#include "framework/Dialog.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class CHostTestDlg : public CDialog {
public:
    CHostTestDlg() : CDialog(IDD_TEST_HOST) {}
    std::function<void(CHostTestDlg&)> m_onInit;
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        if (m_onInit)
            m_onInit(*this);
        return TRUE;
    }
};

std::vector<std::string> Calls() {
    return FakeControlLog().calls;
}

size_t IndexOf(const std::string& call) {
    const std::vector<std::string>& calls = FakeControlLog().calls;
    return static_cast<size_t>(std::find(calls.begin(), calls.end(), call) - calls.begin());
}

TEST(ControlSiteTest, RefusedStateFallsBackToDefaultsAndTheDialogOpens) {
    CFakeControlRegistration registration;
    CHostTestDlg dlg;
    HWND hWndCtrl = nullptr;
    RECT rcCtrl = {}, rcExpected = {10, 20, 70, 50};
    dlg.m_onInit = [&](CHostTestDlg& d) {
        PostToModalLoop([&] { dlg.EndDialog(IDOK); });
        hWndCtrl = ::GetDlgItem(d.m_hWnd, IDC_TEST_FAKE);
        ::GetWindowRect(hWndCtrl, &rcCtrl);
        ::MapWindowPoints(nullptr, d.m_hWnd, reinterpret_cast<POINT*>(&rcCtrl), 2);
        ::MapDialogRect(d.m_hWnd, &rcExpected);
    };
    EXPECT_EQ(IDOK, dlg.DoModal());
    ASSERT_NE(nullptr, hWndCtrl);
    EXPECT_TRUE(::EqualRect(&rcExpected, &rcCtrl));
    // The state block of the control's id, refused, then the defaults.
    EXPECT_EQ((std::vector<unsigned char>{0xEF, 0xBE, 0xAD, 0x0B}), FakeControlLog().loaded);
    EXPECT_LT(IndexOf("SetClientSite"), IndexOf("Load"));
    EXPECT_EQ(IndexOf("Load") + 1, IndexOf("InitNew"));
    EXPECT_LT(IndexOf("InitNew"), IndexOf("DoVerb -5"));   // in-place activated
    EXPECT_LT(IndexOf("DoVerb -5"), IndexOf("DoVerb -1")); // and shown
}

TEST(ControlSiteTest, ClosesTheControlWhileTheDialogExists) {
    CFakeControlRegistration registration;
    CHostTestDlg dlg;
    dlg.m_onInit = [&](CHostTestDlg&) { PostToModalLoop([&] { dlg.EndDialog(IDOK); }); };
    dlg.DoModal();
    const std::vector<std::string> calls = Calls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ((std::vector<std::string>{"Close(container alive)", "SetClientSite(NULL)",
                                        "final release"}),
              std::vector<std::string>(calls.end() - 3, calls.end()));
}

// Keys aimed at the control go to it first; Esc is left to the dialog.
TEST(ControlSiteTest, KeysGoToTheControlExceptEsc) {
    CFakeControlRegistration registration;
    CHostTestDlg dlg;
    BOOL bTaken = FALSE;
    size_t nOffered = 0;
    dlg.m_onInit = [&](CHostTestDlg& d) {
        PostToModalLoop([&] {
            HWND hWndCtrl = ::GetDlgItem(dlg.m_hWnd, IDC_TEST_FAKE);
            MSG key = {hWndCtrl, WM_KEYDOWN, 'A', 0, 0, {0, 0}};
            bTaken = dlg.PreTranslateMessage(&key);
            MSG esc = {hWndCtrl, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
            dlg.PreTranslateMessage(&esc);
            const std::vector<std::string> calls = Calls();
            nOffered = std::count_if(calls.begin(), calls.end(), [](const std::string& c) {
                return c.rfind("TranslateAccelerator", 0) == 0;
            });
        });
        static_cast<void>(d);
    };
    EXPECT_EQ(IDCANCEL, dlg.DoModal()); // Esc ended the dialog
    EXPECT_TRUE(bTaken);
    EXPECT_EQ(1u, nOffered);
    EXPECT_NE(Calls().size(), IndexOf("TranslateAccelerator 65"));
}

} // namespace
