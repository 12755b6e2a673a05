// What a control site answers a browser control that asks for its host: the
// default answers of any window, and a dialog's own where it overrides them.
#include "tests/win/FakeControl.h"
#include "tests/win/TestResource.h"
#include "tests/win/WinTestApp.h"

#include "framework/ComPtr.h"
#include "framework/Dialog.h"
#include "framework/DocHostHandler.h"
#include "framework/OleControlSite.h"

#include <docobj.h>
#include <gtest/gtest.h>
#include <mshtmhst.h>

namespace {

const IID kIidDocHostShowUI = {
    0xc4d244b0, 0xd43e, 0x11cf, {0x89, 0x3b, 0x00, 0xaa, 0x00, 0xbd, 0xce, 0x1a}};
const GUID kCgidDocHostCommandHandler = {
    0xf38bc242, 0xb950, 0x11d1, {0x89, 0x18, 0x00, 0xc0, 0x4f, 0xc2, 0xc8, 0x36}};

// Runs check on the site of the dialog's fake control, from its modal loop.
template <class TDlg> void WithSite(TDlg& dlg, std::function<void(COleControlSite&)> check) {
    CFakeControlRegistration registration;
    dlg.m_onInit = [&] {
        PostToModalLoop([&] {
            CWnd* pCtrl = CWnd::FromHandle(::GetDlgItem(dlg.m_hWnd, IDC_TEST_FAKE));
            if (COleControlSite* pSite = pCtrl->GetControlSite())
                check(*pSite);
            else
                ADD_FAILURE() << "no control site";
            dlg.EndDialog(IDOK);
        });
    };
    EXPECT_EQ(IDOK, dlg.DoModal());
}

class CPlainHostDlg : public CDialog {
public:
    CPlainHostDlg() : CDialog(IDD_TEST_HOST) {}
    std::function<void()> m_onInit;
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_onInit();
        return TRUE;
    }
};

// A dialog with its own answers: other flags, the control's own menu.
class COwnHostDlg : public CPlainHostDlg, public CDocHostHandler {
public:
    COwnHostDlg() { m_dwHostFlags = DOCHOSTUIFLAG_NO3DBORDER; }
    HRESULT ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override { return S_FALSE; }
};

template <class T> CComPtr<T> Ask(COleControlSite& site, REFIID riid) {
    CComPtr<T> p;
    EXPECT_EQ(S_OK, site.QueryInterface(riid, reinterpret_cast<void**>(&p)));
    return p;
}

// Each key (virtual-key code, Ctrl, Alt) through TranslateAccelerator with
// that keyboard state: S_OK when the host swallowed it.
HRESULT OfferKey(IDocHostUIHandler* pHandler, UINT vk, bool bCtrl, bool bAlt) {
    BYTE state[256] = {};
    state[VK_CONTROL] = bCtrl ? 0x80 : 0;
    state[VK_MENU] = bAlt ? 0x80 : 0;
    ::SetKeyboardState(state);
    MSG msg = {nullptr, static_cast<UINT>(bAlt ? WM_SYSKEYDOWN : WM_KEYDOWN), vk, 0, 0, {0, 0}};
    const HRESULT hr = pHandler->TranslateAccelerator(&msg, nullptr, 0);
    BYTE none[256] = {};
    ::SetKeyboardState(none);
    return hr;
}

TEST(DocHostSiteTest, TheDefaultAnswersAreThoseOfAHostOfUntrustedPages) {
    CPlainHostDlg dlg;
    WithSite(dlg, [](COleControlSite& site) {
        CComPtr<IDocHostUIHandler> pHandler = Ask<IDocHostUIHandler>(site, IID_IDocHostUIHandler);
        CComPtr<IDocHostShowUI> pShowUI = Ask<IDocHostShowUI>(site, kIidDocHostShowUI);
        CComPtr<IOleCommandTarget> pCmd = Ask<IOleCommandTarget>(site, IID_IOleCommandTarget);
        ASSERT_TRUE(pHandler && pShowUI && pCmd);
        // One object: the site's identity behind each.
        CComPtr<IOleClientSite> pClient;
        EXPECT_EQ(S_OK,
                  pHandler->QueryInterface(IID_IOleClientSite, reinterpret_cast<void**>(&pClient)));
        EXPECT_EQ(static_cast<IOleClientSite*>(&site), pClient.p);

        DOCHOSTUIINFO info = {sizeof(info), 0xFFFFFFFF, 7, nullptr, nullptr};
        EXPECT_EQ(S_OK, pHandler->GetHostInfo(&info));
        EXPECT_EQ(static_cast<DWORD>(DOCHOSTUIFLAG_DISABLE_HELP_MENU |
                                     DOCHOSTUIFLAG_LOCAL_MACHINE_ACCESS_CHECK |
                                     DOCHOSTUIFLAG_DISABLE_UNTRUSTEDPROTOCOL),
                  info.dwFlags);
        EXPECT_EQ(static_cast<DWORD>(DOCHOSTUIDBLCLK_DEFAULT), info.dwDoubleClick);
        POINT pt = {5, 5};
        EXPECT_EQ(S_OK, pHandler->ShowContextMenu(CONTEXT_MENU_DEFAULT, &pt, nullptr, nullptr));
        EXPECT_EQ(S_OK, pShowUI->ShowHelp(nullptr, nullptr, 0, 0, pt, nullptr));
        LRESULT lResult = 0;
        EXPECT_EQ(S_FALSE,
                  pShowUI->ShowMessage(nullptr, nullptr, nullptr, MB_OK, nullptr, 0, &lResult));
        IDispatch* pExternal = reinterpret_cast<IDispatch*>(1);
        pHandler->GetExternal(&pExternal);
        EXPECT_EQ(nullptr, pExternal);

        // A script error: no dialog, the scripts go on.
        VARIANT out;
        ::VariantInit(&out);
        EXPECT_EQ(S_OK, pCmd->Exec(&kCgidDocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, 0,
                                   nullptr, &out));
        EXPECT_EQ(VT_BOOL, out.vt);
        EXPECT_EQ(VARIANT_TRUE, out.boolVal);
        EXPECT_EQ(OLECMDERR_E_NOTSUPPORTED,
                  pCmd->Exec(&kCgidDocHostCommandHandler, OLECMDID_PRINT, 0, nullptr, nullptr));
        EXPECT_EQ(OLECMDERR_E_NOTSUPPORTED,
                  pCmd->Exec(nullptr, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, nullptr));
        EXPECT_EQ(OLECMDERR_E_UNKNOWNGROUP,
                  pCmd->Exec(&IID_IUnknown, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, nullptr));
        OLECMD cmds[2] = {{OLECMDID_SHOWSCRIPTERROR, 0}, {OLECMDID_PRINT, 0}};
        EXPECT_EQ(S_OK, pCmd->QueryStatus(&kCgidDocHostCommandHandler, 2, cmds, nullptr));
        EXPECT_EQ(static_cast<DWORD>(OLECMDF_SUPPORTED | OLECMDF_ENABLED), cmds[0].cmdf);
        EXPECT_EQ(0u, cmds[1].cmdf);
    });
}

// The key table through the site, with the keyboard state the host reads.
TEST(DocHostSiteTest, BrowserCommandKeysAreSwallowedAndFormKeysPass) {
    CPlainHostDlg dlg;
    WithSite(dlg, [](COleControlSite& site) {
        CComPtr<IDocHostUIHandler> pHandler = Ask<IDocHostUIHandler>(site, IID_IDocHostUIHandler);
        ASSERT_TRUE(pHandler);
        struct SKey {
            const char* name;
            UINT vk;
            bool bCtrl, bAlt;
            HRESULT hr;
        };
        for (const SKey& key : {SKey{"Ctrl+N", 'N', true, false, S_OK},
                                {"Ctrl+O", 'O', true, false, S_OK},
                                {"Ctrl+S", 'S', true, false, S_OK},
                                {"Ctrl+P", 'P', true, false, S_OK},
                                {"Ctrl+F", 'F', true, false, S_OK},
                                {"F5", VK_F5, false, false, S_OK},
                                {"Ctrl+F5", VK_F5, true, false, S_OK},
                                {"Ctrl+R", 'R', true, false, S_OK},
                                {"F1", VK_F1, false, false, S_OK},
                                {"F11", VK_F11, false, false, S_OK},
                                {"Alt+Left", VK_LEFT, false, true, S_OK},
                                {"Alt+Right", VK_RIGHT, false, true, S_OK},
                                {"Ctrl+L", 'L', true, false, S_OK},
                                {"Ctrl+D", 'D', true, false, S_OK},
                                {"N", 'N', false, false, S_FALSE},
                                {"Tab", VK_TAB, false, false, S_FALSE},
                                {"Enter", VK_RETURN, false, false, S_FALSE},
                                {"Delete", VK_DELETE, false, false, S_FALSE},
                                {"Backspace", VK_BACK, false, false, S_FALSE},
                                {"Left", VK_LEFT, false, false, S_FALSE},
                                {"Down", VK_DOWN, false, false, S_FALSE},
                                {"Ctrl+C", 'C', true, false, S_FALSE},
                                {"Ctrl+V", 'V', true, false, S_FALSE},
                                {"Ctrl+X", 'X', true, false, S_FALSE},
                                {"Ctrl+A", 'A', true, false, S_FALSE},
                                {"Ctrl+Z", 'Z', true, false, S_FALSE}})
            EXPECT_EQ(key.hr, OfferKey(pHandler, key.vk, key.bCtrl, key.bAlt)) << key.name;
        // Only key presses: the character of Ctrl+N passes.
        MSG chr = {nullptr, WM_CHAR, 0x0E, 0, 0, {0, 0}};
        EXPECT_EQ(S_FALSE, pHandler->TranslateAccelerator(&chr, nullptr, 0));
    });
}

// A dialog that is a CDocHostHandler answers for its controls itself.
TEST(DocHostSiteTest, ADialogOverridesTheAnswers) {
    COwnHostDlg dlg;
    WithSite(dlg, [](COleControlSite& site) {
        CComPtr<IDocHostUIHandler> pHandler = Ask<IDocHostUIHandler>(site, IID_IDocHostUIHandler);
        ASSERT_TRUE(pHandler);
        DOCHOSTUIINFO info = {sizeof(info), 0, 0, nullptr, nullptr};
        EXPECT_EQ(S_OK, pHandler->GetHostInfo(&info));
        EXPECT_EQ(static_cast<DWORD>(DOCHOSTUIFLAG_NO3DBORDER), info.dwFlags);
        EXPECT_EQ(S_FALSE,
                  pHandler->ShowContextMenu(CONTEXT_MENU_DEFAULT, nullptr, nullptr, nullptr));
        EXPECT_EQ(S_OK, OfferKey(pHandler, 'N', true, false)); // the rest as by default
    });
}

} // namespace
