// The image button on a bitmap static of a real dialog.
#include "tests/win/TestResource.h"
#include "tests/win/WinTestApp.h"

#include "framework/Dialog.h"
#include "res/resource.h"
#include "skin/ImageButton.h"

#include <gtest/gtest.h>

namespace {

class CButtonDlg : public CDialog {
public:
    CButtonDlg() : CDialog(IDD_TEST_DIALOG) {}
    CImageButton m_btn;
    std::function<void(CButtonDlg&)> m_body;

    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_TEST_PICTURE, m_btn); }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_body(*this);
        EndDialog(0);
        return TRUE;
    }
};

} // namespace

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
