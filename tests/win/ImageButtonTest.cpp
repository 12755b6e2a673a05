// The image button on a bitmap static of a real dialog.
#include "tests/win/TestResource.h"
#include "tests/win/WinTestApp.h"

#include "framework/Dialog.h"
#include "res/resource.h"
#include "skin/ImageButton.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <vector>

namespace {

class CButtonDlg : public CDialog {
public:
    CButtonDlg() : CDialog(IDD_TEST_DIALOG) {}
    CImageButton m_btn;
    std::function<void(CButtonDlg&)> m_body;
    int m_nClicks = 0;

    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_TEST_PICTURE, m_btn); }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_body(*this);
        EndDialog(0);
        return TRUE;
    }
    void OnClick() { ++m_nClicks; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CButtonDlg, CDialog)
ON_STN_CLICKED(IDC_TEST_PICTURE, OnClick)
END_MESSAGE_MAP()

// Both faces of bitmap 140, then the button set up as the dialogs do it.
void SetUpButton(CImageButton& btn, LPCTSTR tip) {
    HINSTANCE hInst = ::GetModuleHandleA(nullptr);
    btn.m_hBmpUp = ::LoadBitmapA(hInst, MAKEINTRESOURCEA(IDB_BTN_NEXT));
    btn.m_hBmpDown = ::LoadBitmapA(hInst, MAKEINTRESOURCEA(IDB_BTN_NEXT));
    btn.InitButton();
    btn.SetToolTip(tip);
    btn.SetActive(1);
}

void MovePointerTo(HWND hWnd, int x, int y) {
    POINT pt = {x, y};
    ::ClientToScreen(hWnd, &pt);
    ::SetCursorPos(pt.x, pt.y);
}

// A cursor's hot spot and mask and colour bits.
std::vector<BYTE> CursorImage(HCURSOR hCursor) {
    ICONINFO info = {};
    if (!::GetIconInfo(hCursor, &info))
        return {};
    std::vector<BYTE> image = {static_cast<BYTE>(info.xHotspot), static_cast<BYTE>(info.yHotspot)};
    for (HBITMAP hbm : {info.hbmMask, info.hbmColor}) {
        BITMAP bm = {};
        if (hbm == nullptr || !::GetObjectA(hbm, sizeof(bm), &bm))
            continue;
        std::vector<BYTE> bits(static_cast<size_t>(bm.bmWidthBytes) * bm.bmHeight);
        ::GetBitmapBits(hbm, static_cast<LONG>(bits.size()), bits.data());
        image.insert(image.end(), bits.begin(), bits.end());
        ::DeleteObject(hbm);
    }
    return image;
}

} // namespace

TEST(ImageButtonTest, HandCursorFallsBackToACopyOfTheSystemHand) {
    const HCURSOR hCopy = CImageButton::CopyHandCursor("C:\\no-such-folder\\winhlp32.exe");
    ASSERT_NE(nullptr, hCopy);
    const HCURSOR hSystem = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)); // IDC_HAND
    EXPECT_NE(hSystem, hCopy);
    const std::vector<BYTE> image = CursorImage(hCopy);
    EXPECT_GT(image.size(), 2u);
    EXPECT_EQ(CursorImage(hSystem), image);
    EXPECT_TRUE(::DestroyCursor(hCopy));
}

TEST(ImageButtonTest, ShowsItsNormalFaceAndFreesTheTemplatePicture) {
    CButtonDlg dlg;
    dlg.m_body = [](CButtonDlg& d) {
        const HBITMAP hTemplate = d.m_btn.GetBitmap();
        ASSERT_NE(nullptr, hTemplate);
        HINSTANCE hInst = ::GetModuleHandleA(nullptr);
        d.m_btn.m_hBmpUp = ::LoadBitmapA(hInst, MAKEINTRESOURCEA(IDB_BTN_NEXT));
        d.m_btn.m_hBmpDown = ::LoadBitmapA(hInst, MAKEINTRESOURCEA(IDB_BTN_NEXT));
        ASSERT_NE(d.m_btn.m_hBmpUp, d.m_btn.m_hBmpDown);
        d.m_btn.InitButton();
        EXPECT_EQ(d.m_btn.m_hBmpUp, d.m_btn.GetBitmap());
        EXPECT_EQ(0u, ::GetObjectType(hTemplate)); // freed, not leaked
        EXPECT_EQ(static_cast<DWORD>(OBJ_BITMAP), ::GetObjectType(d.m_btn.m_hBmpDown));
    };
    dlg.DoModal();
}

TEST(ImageButtonTest, ShowButtonRecordsWhatItWasToldAndHidesForAnythingButOne) {
    CButtonDlg dlg;
    dlg.m_body = [](CButtonDlg& d) {
        EXPECT_EQ(1, d.m_btn.m_bShown);
        d.m_btn.ShowButton(2);
        EXPECT_EQ(2, d.m_btn.m_bShown);
        EXPECT_FALSE(::GetWindowLongA(d.m_btn.m_hWnd, GWL_STYLE) & WS_VISIBLE);
        d.m_btn.ShowButton(1);
        EXPECT_EQ(1, d.m_btn.m_bShown);
        EXPECT_TRUE(::GetWindowLongA(d.m_btn.m_hWnd, GWL_STYLE) & WS_VISIBLE);
        d.m_btn.ShowButton(0);
        EXPECT_FALSE(::GetWindowLongA(d.m_btn.m_hWnd, GWL_STYLE) & WS_VISIBLE);
    };
    dlg.DoModal();
}

TEST(ImageButtonTest, PressShowsThePressedFaceAndEndsOnReleaseOrWhenThePointerLeaves) {
    CButtonDlg dlg;
    dlg.m_body = [](CButtonDlg& d) {
        SetUpButton(d.m_btn, "OK");
        const HWND hBtn = d.m_btn.m_hWnd;
        RECT rc;
        ::GetClientRect(hBtn, &rc);
        EXPECT_EQ(64, rc.right);
        EXPECT_EQ(24, rc.bottom); // the region is this rectangle

        ::SendMessageA(hBtn, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        EXPECT_EQ(1, d.m_nClicks); // on the button-down
        EXPECT_EQ(d.m_btn.m_hBmpDown, d.m_btn.GetBitmap());
        ::SendMessageA(hBtn, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(d.m_btn.m_hBmpUp, d.m_btn.GetBitmap());
        EXPECT_FALSE(::KillTimer(hBtn, 1)); // none left running

        ::SendMessageA(hBtn, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        MovePointerTo(hBtn, 10, 10);
        ::SendMessageA(hBtn, WM_TIMER, 1, 0);
        EXPECT_EQ(d.m_btn.m_hBmpDown, d.m_btn.GetBitmap());
        MovePointerTo(hBtn, 70, 10);
        ::SendMessageA(hBtn, WM_TIMER, 1, 0);
        EXPECT_EQ(d.m_btn.m_hBmpUp, d.m_btn.GetBitmap());
        EXPECT_FALSE(::KillTimer(hBtn, 1));
        EXPECT_EQ(2, d.m_nClicks);
    };
    dlg.DoModal();
}

TEST(ImageButtonTest, TooltipHoldsTheButtonAsItsOneTool) {
    CButtonDlg dlg;
    dlg.m_body = [](CButtonDlg& d) {
        SetUpButton(d.m_btn, "CANCEL");
        std::string text;
        const HWND hTip = FindToolTip(d.m_btn.m_hWnd, &text);
        ASSERT_NE(nullptr, hTip);
        EXPECT_EQ(d.m_btn.m_pToolTip->m_hWnd, hTip);
        EXPECT_EQ("CANCEL", text);
        EXPECT_EQ(1, ::SendMessageA(hTip, TTM_GETTOOLCOUNT, 0, 0));
        EXPECT_EQ(150, ::SendMessageA(hTip, TTM_GETMAXTIPWIDTH, 0, 0));
        EXPECT_EQ(200, ::SendMessageA(hTip, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
        EXPECT_EQ(2000, ::SendMessageA(hTip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0));
    };
    dlg.DoModal();
}

TEST(ImageButtonTest, DestructorLeavesNoHandleBehind) {
    CButtonDlg dlg;
    dlg.m_body = [](CButtonDlg& d) {
        // A second button on the dialog's other static, destroyed while the
        // dialog and so its tooltip's owner still live.
        CImageButton* pBtn = new CImageButton;
        ASSERT_TRUE(pBtn->SubclassDlgItem(IDC_TEST_CLICK, &d));
        SetUpButton(*pBtn, "OK");
        const HBITMAP hUp = pBtn->m_hBmpUp;
        const HBITMAP hDown = pBtn->m_hBmpDown;
        const HCURSOR hCursor = pBtn->m_hHandCursor;
        const HWND hTip = pBtn->m_pToolTip->m_hWnd;
        const HGDIOBJ hRgn = pBtn->m_pRegion->GetSafeHandle();
        ASSERT_NE(nullptr, hCursor);
        ASSERT_TRUE(::IsWindow(hTip));
        ASSERT_EQ(static_cast<DWORD>(OBJ_REGION), ::GetObjectType(hRgn));
        delete pBtn;
        EXPECT_EQ(0u, ::GetObjectType(hUp));
        EXPECT_EQ(0u, ::GetObjectType(hDown));
        EXPECT_EQ(0u, ::GetObjectType(hRgn));
        EXPECT_FALSE(::IsWindow(hTip));
        EXPECT_FALSE(::DestroyCursor(hCursor));
        // The dialog's own button keeps its tooltip until the dialog goes.
        SetUpButton(d.m_btn, "OK");
    };
    dlg.DoModal();
    EXPECT_EQ(nullptr, dlg.m_btn.m_pToolTip->m_hWnd);
}

TEST(ImageButtonTest, SpacePressesTheButtonAndItsReleaseClicksOnlyWhileLive) {
    CButtonDlg dlg;
    dlg.m_body = [](CButtonDlg& d) {
        SetUpButton(d.m_btn, "OK");
        const HWND hBtn = d.m_btn.m_hWnd;
        ::SendMessageA(hBtn, WM_KEYDOWN, VK_SPACE, 1);
        EXPECT_EQ(d.m_btn.m_hBmpDown, d.m_btn.GetBitmap());
        EXPECT_EQ(0, d.m_nClicks);
        ::SendMessageA(hBtn, WM_KEYUP, VK_SPACE, 0xC0000001);
        EXPECT_EQ(d.m_btn.m_hBmpUp, d.m_btn.GetBitmap());
        EXPECT_EQ(1, d.m_nClicks);
        EXPECT_FALSE(::KillTimer(hBtn, 1)); // the key needs no polling
        ::SendMessageA(hBtn, BM_CLICK, 0, 0);
        EXPECT_EQ(2, d.m_nClicks);

        d.m_btn.SetActive(0);
        ::SendMessageA(hBtn, WM_KEYDOWN, VK_SPACE, 1);
        EXPECT_EQ(d.m_btn.m_hBmpUp, d.m_btn.GetBitmap());
        ::SendMessageA(hBtn, WM_KEYUP, VK_SPACE, 0xC0000001);
        ::SendMessageA(hBtn, BM_CLICK, 0, 0);
        EXPECT_EQ(2, d.m_nClicks);
    };
    dlg.DoModal();
}

TEST(ImageButtonTest, AButtonHiddenOrMadeInertLeavesTheTabOrderAndHandsTheFocusOn) {
    CButtonDlg dlg;
    dlg.m_body = [](CButtonDlg& d) {
        SetUpButton(d.m_btn, "OK");
        const HWND hBtn = d.m_btn.m_hWnd;
        const HWND hOk = ::GetDlgItem(d.m_hWnd, IDOK);
        EXPECT_TRUE(::GetWindowLongA(hBtn, GWL_STYLE) & WS_TABSTOP);
        EXPECT_EQ(DLGC_BUTTON, ::SendMessageA(hBtn, WM_GETDLGCODE, 0, 0)); // never the default
        for (int nWay = 0; nWay < 2; ++nWay) {
            ::SetFocus(hBtn);
            ASSERT_EQ(hBtn, ::GetFocus());
            if (nWay == 0)
                d.m_btn.ShowButton(0);
            else
                d.m_btn.SetActive(0);
            EXPECT_EQ(hOk, ::GetFocus()) << nWay;
            EXPECT_FALSE(::GetWindowLongA(hBtn, GWL_STYLE) & WS_TABSTOP) << nWay;
            EXPECT_EQ(hOk, ::GetNextDlgTabItem(d.m_hWnd, hOk, FALSE)) << nWay;
            d.m_btn.ShowButton(1);
            d.m_btn.SetActive(1);
            EXPECT_TRUE(::GetWindowLongA(hBtn, GWL_STYLE) & WS_TABSTOP) << nWay;
        }
    };
    dlg.DoModal();
}
