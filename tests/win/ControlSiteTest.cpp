// Control containment against a fake control: a refused state, keys offered
// to the control and handed back, the site's and container's interfaces,
// creation failures, and the order of closing with every site and container
// finally released.
#include "tests/win/FakeControl.h"
#include "tests/win/TestResource.h"
#include "tests/win/WinTestApp.h"

#include "framework/ComPtr.h"
#include "framework/Dialog.h"
#include "framework/OleControlContainer.h"
#include "framework/OleControlSite.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class CHostTestDlg : public CDialog {
public:
    explicit CHostTestDlg(UINT nIDTemplate = IDD_TEST_HOST) : CDialog(nIDTemplate) {}
    std::function<void(CHostTestDlg&)> m_onInit;
    bool m_bInitialised = false;
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_bInitialised = true;
        if (m_onInit)
            m_onInit(*this);
        return TRUE;
    }
    COleControlSite* Site() const {
        return CWnd::FromHandle(::GetDlgItem(m_hWnd, IDC_TEST_FAKE))->GetControlSite();
    }
};

// Site and container objects alive, as a pair.
std::pair<LONG, LONG> Live() {
    return {COleControlSite::GetLiveCount(), COleControlContainer::GetLiveCount()};
}
const std::pair<LONG, LONG> kNone = {0, 0};

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
    ASSERT_EQ(kNone, Live());
    CHostTestDlg dlg;
    std::pair<LONG, LONG> liveOpen;
    dlg.m_onInit = [&](CHostTestDlg&) {
        liveOpen = Live();
        PostToModalLoop([&] { dlg.EndDialog(IDOK); });
    };
    dlg.DoModal();
    EXPECT_EQ(std::make_pair(1L, 1L), liveOpen);
    EXPECT_EQ(kNone, Live()); // the site's and the container's final releases
    const std::vector<std::string> calls = Calls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ((std::vector<std::string>{"Close(container alive)", "SetClientSite(NULL)",
                                        "final release"}),
              std::vector<std::string>(calls.end() - 3, calls.end()));
}

// A control that holds its site and the site's container until its own final
// release: both are freed then, once.
TEST(ControlSiteTest, AControlKeepingItsSiteFreesSiteAndContainerWithItself) {
    CFakeControlRegistration registration;
    FakeControlLog().bKeepSite = true;
    CHostTestDlg dlg;
    dlg.m_onInit = [&](CHostTestDlg&) { PostToModalLoop([&] { dlg.EndDialog(IDOK); }); };
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(kNone, Live());
    EXPECT_EQ("final release", Calls().back());
}

// The second of two controls fails at each step in turn: the dialog ends
// before its own initialisation with -1, and the first control, both sites
// and the container are released.
TEST(ControlSiteTest, ACreationFailureFailsTheDialogAndReleasesAllItMade) {
    for (EFakeFailure failure :
         {EFakeFailure::Class, EFakeFailure::InitNew, EFakeFailure::NoWindow}) {
        SCOPED_TRACE(static_cast<int>(failure));
        CFakeControlRegistration registration;
        FakeControlLog().failure = failure;
        FakeControlLog().nFailFrom = 1;
        CHostTestDlg dlg(IDD_TEST_HOST2);
        EXPECT_EQ(-1, dlg.DoModal());
        EXPECT_FALSE(dlg.m_bInitialised);
        EXPECT_EQ(nullptr, dlg.m_hWnd);
        EXPECT_EQ(kNone, Live());
        const std::vector<std::string> calls = Calls();
        const size_t nReleased = std::count(calls.begin(), calls.end(), "final release");
        EXPECT_EQ(failure == EFakeFailure::Class ? 1u : 2u, nReleased);
        EXPECT_EQ(nReleased, static_cast<size_t>(
                                 std::count(calls.begin(), calls.end(), "SetClientSite(NULL)")));
    }
}

// The site answers as a control site and gives its container, which
// enumerates the controls and can be locked.
TEST(ControlSiteTest, SiteGivesItsContainerWhichListsTheControls) {
    CFakeControlRegistration registration;
    CHostTestDlg dlg;
    dlg.m_onInit = [&](CHostTestDlg& d) {
        PostToModalLoop([&] { dlg.EndDialog(IDOK); });
        COleControlSite* pSite = d.Site();
        ASSERT_NE(nullptr, pSite);
        CComPtr<IOleControlSite> pControlSite;
        EXPECT_EQ(S_OK, pSite->QueryInterface(IID_IOleControlSite,
                                              reinterpret_cast<void**>(&pControlSite)));
        CComPtr<IOleContainer> pContainer;
        ASSERT_EQ(S_OK, pSite->GetContainer(&pContainer));
        EXPECT_EQ(S_OK, pContainer->LockContainer(TRUE));
        EXPECT_EQ(S_OK, pContainer->LockContainer(FALSE));
        CComPtr<IEnumUnknown> pEnum;
        ASSERT_EQ(S_OK, pContainer->EnumObjects(OLECONTF_EMBEDDINGS, &pEnum));
        IUnknown* objects[2] = {};
        ULONG nFetched = 0;
        EXPECT_EQ(S_FALSE, pEnum->Next(2, objects, &nFetched));
        ASSERT_EQ(1u, nFetched);
        CComPtr<IUnknown> pFirst;
        pFirst.Attach(objects[0]);
        CComPtr<IUnknown> pControl;
        pSite->GetControlUnknown()->QueryInterface(IID_IUnknown,
                                                   reinterpret_cast<void**>(&pControl));
        EXPECT_EQ(pControl.p, pFirst.p);
    };
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(kNone, Live());
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

// Enter, which the control hands back through its site, reaches the dialog's
// own handling once: the default button ends the dialog.
TEST(ControlSiteTest, KeysTheControlHandsBackReachTheDialog) {
    CFakeControlRegistration registration;
    CHostTestDlg dlg;
    BOOL bTaken = FALSE;
    dlg.m_onInit = [&](CHostTestDlg& d) {
        PostToModalLoop([&] {
            MSG enter = {
                ::GetDlgItem(d.m_hWnd, IDC_TEST_FAKE), WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
            bTaken = dlg.PreTranslateMessage(&enter);
        });
    };
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_TRUE(bTaken);
    const std::vector<std::string> calls = Calls();
    EXPECT_EQ(1, std::count(calls.begin(), calls.end(), "TranslateAccelerator 13"));
}

} // namespace
