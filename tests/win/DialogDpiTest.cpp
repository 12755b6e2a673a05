// Dialog layout at the DPI the system reports (the prefix's LogPixels: the
// suite runs at 96, 120 and 144). The conversion from dialog units agrees
// with the system's own layout; the skinned dialogs keep their 96-DPI
// controls and font; the about box scales with the system.
#include "tests/win/TestWizardDlg.h"
#include "tests/win/WinTestApp.h"

#include "framework/DialogLayout.h"
#include "framework/Font.h"
#include "res/resource.h"
#include "skin/AboutDlg.h"
#include "skin/NoticeDlg.h"
#include "skin/SkinBackground.h"
#include "web/PayTestDlg.h"
#include "web/SetupPageDlg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The template without its hosted controls: the controls the system creates.
CDialogTemplate LoadItems(UINT nId) {
    CDialogTemplate dlgTemplate = LoadProgramTemplate(nId);
    dlgTemplate.RemoveActiveXItems();
    return dlgTemplate;
}

INT_PTR CALLBACK QuietDlgProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

RECT ClientRectOf(HWND hItem) {
    RECT rc = {};
    ::GetWindowRect(hItem, &rc);
    ::MapWindowPoints(nullptr, ::GetParent(hItem), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// The template's font at its 96-DPI pixel height.
void Create96DpiFont(const CDialogTemplate& dlgTemplate, CFont& font) {
    LOGFONTW lf = {};
    lf.lfHeight = -CDialogUnits::PointsToPixels(dlgTemplate.m_nPointSize, 96);
    lf.lfCharSet = dlgTemplate.m_nCharSet;
    for (size_t i = 0; i < dlgTemplate.m_strTypeface.size(); ++i)
        lf.lfFaceName[i] = static_cast<wchar_t>(dlgTemplate.m_strTypeface[i]);
    font.CreateFontIndirect(&lf);
}

// Each control of the template at its place in units: a picture static at
// its place with its picture's size, everything else at its rectangle.
// bHintPlaced: the wizard has moved its hint image to its place in pixels.
void ExpectItemsAt(HWND hDlg, const CDialogTemplate& dlgTemplate, const CDialogUnits& units,
                   bool bHintPlaced) {
    // The hosted controls keep their template places among the others.
    const std::vector<CDialogTemplate::CItem>& hosted = dlgTemplate.GetRemovedItems();
    const auto isHosted = [&hosted](HWND hWnd) {
        return std::any_of(hosted.begin(), hosted.end(), [hWnd](const CDialogTemplate::CItem& h) {
            return ::GetDlgCtrlID(hWnd) == static_cast<int>(h.nId);
        });
    };
    HWND hItem = ::GetWindow(hDlg, GW_CHILD);
    for (const CDialogTemplate::CItem& item : dlgTemplate.m_items) {
        SCOPED_TRACE("control " + std::to_string(static_cast<WORD>(item.nId)));
        while (hItem != nullptr && isHosted(hItem))
            hItem = ::GetWindow(hItem, GW_HWNDNEXT);
        ASSERT_NE(nullptr, hItem);
        const RECT rc = ClientRectOf(hItem);
        const CDialogUnits::CPlace place = units.MapItem(item);
        if (bHintPlaced && item.nId == IDC_HINT) {
            EXPECT_EQ(HINT_X, rc.left);
            EXPECT_EQ(HINT_Y, rc.top);
        } else {
            EXPECT_NEAR(place.x, rc.left, 1);
            EXPECT_NEAR(place.y, rc.top, 1);
        }
        if (CDialogLayout::IsSelfSizingPicture(item)) {
            BITMAP bm = {};
            HGDIOBJ hImage =
                reinterpret_cast<HGDIOBJ>(::SendMessageA(hItem, STM_GETIMAGE, IMAGE_BITMAP, 0));
            if (hImage != nullptr && ::GetObjectA(hImage, sizeof(bm), &bm) != 0) {
                EXPECT_EQ(bm.bmWidth, rc.right - rc.left);
                EXPECT_EQ(bm.bmHeight, rc.bottom - rc.top);
            }
        } else {
            EXPECT_NEAR(place.cx, rc.right - rc.left, 1);
            EXPECT_NEAR(place.cy, rc.bottom - rc.top, 1);
        }
        hItem = ::GetWindow(hItem, GW_HWNDNEXT);
    }
}

// Checks a skinned dialog shown and fitted to its bitmap: its controls at
// their 96-DPI places, every text in the template font at its 96-DPI pixel
// height, every visible control inside the window.
void ExpectThe96DpiPicture(HWND hDlg, UINT nTemplate) {
    SCOPED_TRACE("template " + std::to_string(nTemplate) + " at " +
                 std::to_string(CDialogLayout::GetSystemDpi()) + " DPI");
    ::ShowWindow(hDlg, SW_SHOWNORMAL);
    ::UpdateWindow(hDlg);
    const CDialogTemplate dlgTemplate = LoadItems(nTemplate);
    ASSERT_NE(0, dlgTemplate.m_cx);
    CFont font96;
    Create96DpiFont(dlgTemplate, font96);
    ExpectItemsAt(hDlg, dlgTemplate, CDialogLayout::MeasureUnits(font96), true);

    TEXTMETRICW tm96 = {};
    HDC hDC = ::GetDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hDC, font96);
    ::GetTextMetricsW(hDC, &tm96);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(nullptr, hDC);

    RECT rcClient = {};
    ::GetClientRect(hDlg, &rcClient);
    for (HWND hItem = ::GetWindow(hDlg, GW_CHILD); hItem; hItem = ::GetWindow(hItem, GW_HWNDNEXT)) {
        SCOPED_TRACE("control " + std::to_string(::GetDlgCtrlID(hItem)));
        HFONT hFont = reinterpret_cast<HFONT>(::SendMessageA(hItem, WM_GETFONT, 0, 0));
        LOGFONTA lf = {};
        if (hFont != nullptr && ::GetObjectA(hFont, sizeof(lf), &lf) != 0) {
            EXPECT_EQ(-12, lf.lfHeight);
        }
        char szClass[16] = {};
        ::GetClassNameA(hItem, szClass, sizeof(szClass));
        if (lstrcmpiA(szClass, "ListBox") == 0) {
            EXPECT_EQ(tm96.tmHeight, ::SendMessageA(hItem, LB_GETITEMHEIGHT, 0, 0));
        }
        RECT rc = ClientRectOf(hItem), rcBoth = {};
        if (::IsWindowVisible(hItem) && rc.right > rc.left) {
            ::IntersectRect(&rcBoth, &rc, &rcClient);
            EXPECT_TRUE(::EqualRect(&rcBoth, &rc))
                << rc.left << "," << rc.top << ".." << rc.right << "," << rc.bottom;
        }
    }
}

template <typename Base> class CLayoutDlg : public Base {
public:
    BOOL OnInitDialog() override {
        BOOL bResult = Base::OnInitDialog();
        PostToModalLoop([this] {
            m_body(this->m_hWnd);
            this->EndDialog(0);
        });
        return bResult;
    }
    std::function<void(HWND)> m_body;
};

} // namespace

// Base units measured from the dialog's font and the conversion give the
// rectangles the system gives the same template at this DPI (MapDialogRect,
// and the controls it created), so that the two cannot drift.
TEST(DialogDpiTest, ConversionAgreesWithTheSystemsLayout) {
    const UINT kTemplates[] = {IDD_ABOUTBOX, IDD_WIZARD, IDD_SETUP_PAGE, IDD_NOTICE, IDD_PAYTEST};
    for (UINT nId : kTemplates) {
        SCOPED_TRACE("template " + std::to_string(nId));
        CDialogTemplate dlgTemplate = LoadItems(nId);
        dlgTemplate.m_dwStyle &= ~WS_VISIBLE;
        const std::vector<BYTE> bytes = dlgTemplate.Build();
        HWND hDlg = ::CreateDialogIndirectParamA(
            nullptr, reinterpret_cast<LPCDLGTEMPLATEA>(bytes.data()), nullptr, QuietDlgProc, 0);
        ASSERT_NE(nullptr, hDlg);
        const CDialogUnits units = CDialogLayout::MeasureUnits(
            reinterpret_cast<HFONT>(::SendMessageA(hDlg, WM_GETFONT, 0, 0)));
        RECT rcBase = {0, 0, 4, 8};
        ::MapDialogRect(hDlg, &rcBase);
        EXPECT_EQ(rcBase.right, units.m_cxBase);
        EXPECT_EQ(rcBase.bottom, units.m_cyBase);
        for (const CDialogTemplate::CItem& item : dlgTemplate.m_items) {
            RECT rc = {item.x, item.y, item.cx, item.cy};
            ::MapDialogRect(hDlg, &rc);
            const CDialogUnits::CPlace place = units.MapItem(item);
            EXPECT_EQ(rc.left, place.x);
            EXPECT_EQ(rc.top, place.y);
            EXPECT_EQ(rc.right, place.cx);
            EXPECT_EQ(rc.bottom, place.cy);
        }
        ExpectItemsAt(hDlg, dlgTemplate, units, false);
        ::DestroyWindow(hDlg);
    }
}

TEST(DialogDpiTest, SkinnedDialogsShowTheir96DpiPicture) {
    ::SetEnvironmentVariableA("QEL_BROWSER", "system");
    CTestWizardDlg wizard;
    wizard.m_body = [&](CTestWizardDlg& d) {
        ExpectThe96DpiPicture(d.m_hWnd, IDD_WIZARD);
        d.EndDialog(0);
    };
    wizard.DoModal();
    CLayoutDlg<CNoticeDlg> notice;
    notice.m_body = [](HWND hDlg) { ExpectThe96DpiPicture(hDlg, IDD_NOTICE); };
    notice.DoModal();
    CLayoutDlg<CSetupPageDlg> setup;
    setup.m_body = [](HWND hDlg) { ExpectThe96DpiPicture(hDlg, IDD_SETUP_PAGE); };
    setup.DoModal();
    CLayoutDlg<CPayTestDlg> payTest;
    payTest.m_strUrl = "http://127.0.0.1:9/plugin/wizard/QEL_pay_wizard.html";
    payTest.m_body = [](HWND hDlg) { ExpectThe96DpiPicture(hDlg, IDD_PAYTEST); };
    payTest.DoModal();
    ::SetEnvironmentVariableA("QEL_BROWSER", nullptr);
}

// The about box is an ordinary dialog: its font scales with the system.
TEST(DialogDpiTest, AboutBoxScalesWithTheSystem) {
    CLayoutDlg<CAboutDlg> about;
    int nHeight = 0;
    about.m_body = [&](HWND hDlg) {
        HFONT hFont =
            reinterpret_cast<HFONT>(::SendMessageA(::GetDlgItem(hDlg, IDOK), WM_GETFONT, 0, 0));
        LOGFONTA lf = {};
        ::GetObjectA(hFont, sizeof(lf), &lf);
        nHeight = lf.lfHeight;
    };
    about.DoModal();
    EXPECT_EQ(-CDialogUnits::PointsToPixels(9, CDialogLayout::GetSystemDpi()), nHeight);
}
