// The browser-shutdown notice under Wine: skinned, centred over its owner,
// its text on the artwork, its image OK button.
#include "tests/win/WinTestApp.h"

#include "res/resource.h"
#include "skin/NoticeDlg.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class CTestNoticeDlg : public CNoticeDlg {
public:
    using CNoticeDlg::CNoticeDlg;
    std::function<void(CTestNoticeDlg&)> m_body;

    BOOL OnInitDialog() override {
        BOOL bResult = CNoticeDlg::OnInitDialog();
        PostToModalLoop([this] {
            m_body(*this);
            EndDialog(0);
        });
        return bResult;
    }
    HWND Text() const { return ::GetWindow(m_hWnd, GW_CHILD); }
    void Show() {
        ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
        ::UpdateWindow(m_hWnd);
    }
};

// A visible top-level window for the notice to be owned by.
class COwner {
public:
    COwner() {
        m_hWnd = ::CreateWindowA("STATIC", "owner", WS_POPUP | WS_VISIBLE, 100, 60, 700, 600,
                                 nullptr, nullptr, nullptr, nullptr);
        m_wnd.Attach(m_hWnd);
    }
    ~COwner() {
        m_wnd.Detach();
        ::DestroyWindow(m_hWnd);
    }
    HWND m_hWnd;
    CWnd m_wnd;
};

int Centre(LONG a, LONG b) {
    return static_cast<int>(a + b);
}

} // namespace

TEST(NoticeDlgTest, FirstEraseTakesTheBitmapSizeCentredOverTheOwner) {
    COwner owner;
    CTestNoticeDlg dlg(&owner.m_wnd);
    dlg.m_body = [&](CTestNoticeDlg& d) {
        ASSERT_EQ(owner.m_hWnd, ::GetWindow(d.m_hWnd, GW_OWNER));
        d.Show();
        RECT rc, rcOwner;
        ::GetWindowRect(d.m_hWnd, &rc);
        ::GetWindowRect(owner.m_hWnd, &rcOwner);
        EXPECT_EQ(493, rc.right - rc.left);
        EXPECT_EQ(156, rc.bottom - rc.top);
        EXPECT_LE(std::abs(Centre(rc.left, rc.right) - Centre(rcOwner.left, rcOwner.right)), 1);
        EXPECT_LE(std::abs(Centre(rc.top, rc.bottom) - Centre(rcOwner.top, rcOwner.bottom)), 1);
        ::SetWindowPos(d.m_hWnd, nullptr, 7, 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ::RedrawWindow(d.m_hWnd, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ERASENOW);
        ::GetWindowRect(d.m_hWnd, &rc);
        EXPECT_EQ(7, rc.left);
        EXPECT_EQ(8, rc.top);
    };
    dlg.DoModal();
}

TEST(NoticeDlgTest, TextStandsOnTheArtworkWithoutABox) {
    CTestNoticeDlg dlg;
    dlg.m_body = [](CTestNoticeDlg& d) {
        char text[512] = {};
        ::GetWindowTextA(d.Text(), text, sizeof(text));
        EXPECT_STREQ("\n* Internet Explorer 종료 안내\n\n결제모듈의 원활한 설치를 위해서 현재 "
                     "실행중인 인터넷 익스플로러를 모두 종료합니다.\n\n저장이 필요한 인터넷 "
                     "익스플로러가 있다면 모두 저장하여 주시기 바랍니다.",
                     text);

        HDC hDC = ::GetDC(d.m_hWnd);
        const LPARAM lText = reinterpret_cast<LPARAM>(d.Text());
        const WPARAM wDC = reinterpret_cast<WPARAM>(hDC);
        const LRESULT hbrStatic = d.SendMessage(WM_CTLCOLORSTATIC, wDC, lText);
        EXPECT_EQ(reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH)), hbrStatic);
        EXPECT_EQ(TRANSPARENT, ::GetBkMode(hDC));
        ::SetBkMode(hDC, OPAQUE);
        const LRESULT hbrList = d.SendMessage(WM_CTLCOLORLISTBOX, wDC, lText);
        EXPECT_NE(0, hbrList);
        EXPECT_NE(hbrStatic, hbrList);
        EXPECT_EQ(OPAQUE, ::GetBkMode(hDC));
        ::ReleaseDC(d.m_hWnd, hDC);

        std::string tip;
        EXPECT_NE(nullptr, FindToolTip(::GetDlgItem(d.m_hWnd, IDC_BTN_OK), &tip));
        EXPECT_EQ("OK", tip);
    };
    dlg.DoModal();
}
