// The wizard by keyboard and through the accessibility interfaces, under
// Wine: keys go through the dialog manager as the message loop hands them on.
#include "tests/win/TestWizardDlg.h"
#include "tests/win/WinTestApp.h"

#include "res/resource.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <string>
#include <vector>

namespace {

// A key as the modal loop hands it on: the windows' pre-translation (the
// dialog manager's among them), else the window with the focus.
void Key(HWND hDlg, UINT message, WPARAM vk) {
    MSG msg = {};
    msg.hwnd = ::GetFocus();
    msg.message = message;
    msg.wParam = vk;
    msg.lParam = message == WM_KEYUP ? 0xC0000001 : 1;
    if (!CWnd::WalkPreTranslateTree(hDlg, &msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// The button's picture down its left edge, two pixels in, where the focus
// rectangle runs.
std::vector<COLORREF> LeftEdge(HWND hBtn) {
    ::RedrawWindow(hBtn, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT rc;
    ::GetClientRect(hBtn, &rc);
    std::vector<COLORREF> pixels;
    HDC hDC = ::GetDC(hBtn);
    for (int y = 2; y < rc.bottom - 2; ++y)
        pixels.push_back(::GetPixel(hDC, 2, y));
    ::ReleaseDC(hBtn, hDC);
    return pixels;
}

void Tap(HWND hDlg, WPARAM vk) {
    Key(hDlg, WM_KEYDOWN, vk);
    Key(hDlg, WM_KEYUP, vk);
}

bool HidesFocus(HWND hWnd) {
    return (::SendMessageA(hWnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0;
}

struct CAccessibleView {
    long nRole = -1;
    long nState = -1;
    std::wstring strName, strDescription;
    bool bHasDescription = false;
};

// The control as an assistive tool reads it.
CAccessibleView ReadAccessible(HWND hWnd) {
    CAccessibleView view;
    IAccessible* pAcc = nullptr;
    // __uuidof: oleacc's import library exports IID_IAccessible as a function.
    if (FAILED(::AccessibleObjectFromWindow(hWnd, static_cast<DWORD>(OBJID_CLIENT),
                                            __uuidof(IAccessible),
                                            reinterpret_cast<void**>(&pAcc))))
        return view;
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT v;
    if (pAcc->get_accRole(self, &v) == S_OK && v.vt == VT_I4)
        view.nRole = v.lVal;
    if (pAcc->get_accState(self, &v) == S_OK && v.vt == VT_I4)
        view.nState = v.lVal;
    BSTR bstr = nullptr;
    if (pAcc->get_accName(self, &bstr) == S_OK)
        view.strName = bstr;
    ::SysFreeString(bstr);
    bstr = nullptr;
    view.bHasDescription = pAcc->get_accDescription(self, &bstr) == S_OK;
    if (view.bHasDescription)
        view.strDescription = bstr;
    ::SysFreeString(bstr);
    pAcc->Release();
    return view;
}

const wchar_t kNext[] = L"\uB2E4\uC74C";  // 다음
const wchar_t kClose[] = L"\uC885\uB8CC"; // 종료

} // namespace

TEST(WizardKeyboardTest, TabWalksTheShownImageButtonsInOrderWithKeyboardCues) {
    CTestWizardDlg dlg;
    dlg.m_body = [](CTestWizardDlg& d) {
        const HWND hStart = d.Item(IDC_BTN_START), hCancel = d.Item(IDC_BTN_CANCEL);
        EXPECT_TRUE(::GetWindowLongA(hStart, GWL_STYLE) & WS_TABSTOP);
        EXPECT_TRUE(::GetWindowLongA(hCancel, GWL_STYLE) & WS_TABSTOP);
        EXPECT_FALSE(::GetWindowLongA(d.Item(IDC_BTN_TEST), GWL_STYLE) & WS_TABSTOP);
        ::SetFocus(hStart);
        Tap(d.m_hWnd, VK_TAB);
        EXPECT_EQ(hCancel, ::GetFocus());
        // The key shows the focus rectangle inside the picture (Wine's system
        // setting shows keyboard cues at all times; Windows' after a key).
        EXPECT_FALSE(HidesFocus(hCancel));
        const std::vector<COLORREF> focused = LeftEdge(hCancel);
        ::SetFocus(d.Item(IDC_LOG));
        EXPECT_NE(focused, LeftEdge(hCancel));
        ::SetFocus(hCancel);
        EXPECT_EQ(focused, LeftEdge(hCancel));
        Tap(d.m_hWnd, VK_TAB); // past the hidden second next image
        EXPECT_EQ(hStart, ::GetFocus());
        d.EndDialog(0);
    };
    dlg.DoModal();
}

// The second next image takes the first one's spot and the focus, so that a
// second Space runs the payment test: also when another window, as the
// browser stage 2 starts, is active then and the wizard is activated later.
TEST(WizardKeyboardTest, SpaceOnNextRunsStageTwoAndASecondSpaceStageThree) {
    for (const bool bDeactivated : {false, true}) {
        CTestWizardDlg dlg;
        bool bSetupSeen = false, bPayTestSeen = false;
        HWND hOther = nullptr;
        if (bDeactivated)
            dlg.m_onShellOpen = [&hOther] {
                hOther = ::CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10,
                                           nullptr, nullptr, nullptr, nullptr);
                ::SetActiveWindow(hOther);
            };
        dlg.m_body = [&](CTestWizardDlg& d) {
            const HWND hStart = d.Item(IDC_BTN_START), hTest = d.Item(IDC_BTN_TEST);
            const HBITMAP hUp =
                reinterpret_cast<HBITMAP>(::SendMessageA(hStart, STM_GETIMAGE, IMAGE_BITMAP, 0));
            ::SetFocus(hStart);
            Key(d.m_hWnd, WM_KEYDOWN, VK_SPACE);
            Key(d.m_hWnd, WM_KEYDOWN, VK_SPACE); // the key's repeat
            EXPECT_NE(hUp, reinterpret_cast<HBITMAP>(
                               ::SendMessageA(hStart, STM_GETIMAGE, IMAGE_BITMAP, 0)));
            EXPECT_TRUE(ReadAccessible(hStart).nState & STATE_SYSTEM_PRESSED);
            EXPECT_EQ(9, d.LineCount()); // nothing starts before the release
            PressOkOfNextDialog(d.m_hWnd, &bSetupSeen);
            Key(d.m_hWnd, WM_KEYUP, VK_SPACE);
            EXPECT_EQ(hUp, reinterpret_cast<HBITMAP>(
                               ::SendMessageA(hStart, STM_GETIMAGE, IMAGE_BITMAP, 0)));
            EXPECT_EQ(11, d.LineCount());
            EXPECT_FALSE(::GetWindowLongA(hStart, GWL_STYLE) & WS_TABSTOP);
            if (hOther != nullptr) {
                EXPECT_EQ(hOther, ::GetActiveWindow());
                EXPECT_NE(hTest, ::GetFocus());
                ::SetActiveWindow(d.m_hWnd); // the task switcher's way back
                ::DestroyWindow(hOther);
            }
            EXPECT_EQ(hTest, ::GetFocus()) << bDeactivated;
            PressOkOfNextDialog(d.m_hWnd, &bPayTestSeen);
            Tap(d.m_hWnd, VK_SPACE);
            EXPECT_EQ(19, d.LineCount()) << bDeactivated; // the closed page's verdict
            d.EndDialog(0);
        };
        dlg.DoModal();
        EXPECT_TRUE(bSetupSeen) << bDeactivated;
        EXPECT_TRUE(bPayTestSeen) << bDeactivated;
    }
}

TEST(WizardKeyboardTest, EnterAndEscKeepTheirMeaningsWhileAnImageButtonHasTheFocus) {
    for (WPARAM vk : {VK_RETURN, VK_ESCAPE}) {
        CTestWizardDlg dlg;
        dlg.m_body = [vk](CTestWizardDlg& d) {
            ::SetFocus(d.Item(IDC_BTN_START));
            Tap(d.m_hWnd, vk);
            // Ended, not started: the log still shows the introduction.
            EXPECT_EQ(9, d.LineCount()) << vk;
        };
        EXPECT_EQ(vk == VK_RETURN ? IDOK : 0, dlg.DoModal()) << vk;
        EXPECT_TRUE(dlg.m_starts.empty()) << vk;
    }
}

TEST(WizardKeyboardTest, EachImageButtonNamesItselfAsAPushButton) {
    CTestWizardDlg dlg;
    dlg.m_body = [](CTestWizardDlg& d) {
        ::SetFocus(d.Item(IDC_BTN_START));
        const CAccessibleView start = ReadAccessible(d.Item(IDC_BTN_START));
        EXPECT_EQ(ROLE_SYSTEM_PUSHBUTTON, start.nRole);
        EXPECT_EQ(kNext, start.strName);
        EXPECT_EQ(L"OK", start.strDescription);
        EXPECT_EQ(STATE_SYSTEM_FOCUSED | STATE_SYSTEM_FOCUSABLE, start.nState);
        const CAccessibleView cancel = ReadAccessible(d.Item(IDC_BTN_CANCEL));
        EXPECT_EQ(ROLE_SYSTEM_PUSHBUTTON, cancel.nRole);
        EXPECT_EQ(kClose, cancel.strName);
        EXPECT_EQ(L"CANCEL", cancel.strDescription);
        EXPECT_EQ(STATE_SYSTEM_FOCUSABLE, cancel.nState);
        const CAccessibleView test = ReadAccessible(d.Item(IDC_BTN_TEST));
        EXPECT_EQ(kNext, test.strName);
        EXPECT_EQ(STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_UNAVAILABLE, test.nState);
        d.EndDialog(0);
    };
    dlg.DoModal();
}

TEST(WizardKeyboardTest, DefaultActionClicksALiveButtonAndTheObjectOutlivesItsWindow) {
    CTestWizardDlg dlg;
    IAccessible* pCancel = nullptr;
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    dlg.m_body = [&](CTestWizardDlg& d) {
        IAccessible* pTest = nullptr;
        ASSERT_EQ(S_OK, ::AccessibleObjectFromWindow(
                            d.Item(IDC_BTN_TEST), static_cast<DWORD>(OBJID_CLIENT),
                            __uuidof(IAccessible), reinterpret_cast<void**>(&pTest)));
        EXPECT_EQ(DISP_E_MEMBERNOTFOUND, pTest->accDoDefaultAction(self)); // hidden
        pTest->Release();
        ASSERT_EQ(S_OK, ::AccessibleObjectFromWindow(
                            d.Item(IDC_BTN_CANCEL), static_cast<DWORD>(OBJID_CLIENT),
                            __uuidof(IAccessible), reinterpret_cast<void**>(&pCancel)));
        // Posted: the wizard ends from its message loop, as by a click on 종료.
        EXPECT_EQ(S_OK, pCancel->accDoDefaultAction(self));
        EXPECT_EQ(9, d.LineCount());
    };
    EXPECT_EQ(0, dlg.DoModal());
    EXPECT_TRUE(dlg.m_starts.empty());
    ASSERT_NE(nullptr, pCancel);
    BSTR bstr = nullptr;
    EXPECT_EQ(RPC_E_DISCONNECTED, pCancel->get_accName(self, &bstr));
    EXPECT_EQ(nullptr, bstr);
    pCancel->Release();
}
