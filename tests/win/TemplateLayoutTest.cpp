// Every dialog template of the program laid out by Wine in its own font:
// each static text fits its static, and no two controls overlap.
#include "tests/win/WinTestApp.h"

#include "framework/DialogTemplate.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const UINT kTemplates[] = {IDD_ABOUTBOX, IDD_WIZARD, IDD_SETUP_PAGE, IDD_NOTICE, IDD_PAYTEST};

INT_PTR CALLBACK QuietDlgProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

bool IsTextStatic(HWND hWnd) {
    char szClass[16] = {};
    ::GetClassNameA(hWnd, szClass, sizeof(szClass));
    const DWORD dwType = static_cast<DWORD>(::GetWindowLongA(hWnd, GWL_STYLE)) & SS_TYPEMASK;
    return lstrcmpiA(szClass, "Static") == 0 &&
           (dwType == SS_LEFT || dwType == SS_CENTER || dwType == SS_RIGHT);
}

} // namespace

TEST(TemplateLayoutTest, EveryStaticTextFitsItsStatic) {
    for (UINT nId : kTemplates) {
        SCOPED_TRACE("template " + std::to_string(nId));
        CDialogTemplate dlgTemplate = LoadProgramTemplate(nId);
        ASSERT_FALSE(dlgTemplate.m_items.empty());
        dlgTemplate.RemoveActiveXItems();
        dlgTemplate.m_dwStyle &= ~WS_VISIBLE;
        const std::vector<BYTE> bytes = dlgTemplate.Build();
        HWND hDlg = ::CreateDialogIndirectParamA(
            nullptr, reinterpret_cast<LPCDLGTEMPLATEA>(bytes.data()), nullptr, QuietDlgProc, 0);
        ASSERT_NE(nullptr, hDlg);
        int nMeasured = 0;
        for (HWND hItem = ::GetWindow(hDlg, GW_CHILD); hItem;
             hItem = ::GetWindow(hItem, GW_HWNDNEXT)) {
            char szText[512] = {};
            if (!IsTextStatic(hItem) || ::GetWindowTextA(hItem, szText, sizeof(szText)) == 0)
                continue;
            RECT rcItem;
            ::GetClientRect(hItem, &rcItem);
            HDC hDC = ::GetDC(hItem);
            HGDIOBJ hOld = ::SelectObject(
                hDC, reinterpret_cast<HFONT>(::SendMessageA(hItem, WM_GETFONT, 0, 0)));
            const DWORD dwStyle = static_cast<DWORD>(::GetWindowLongA(hItem, GWL_STYLE));
            RECT rcText = {0, 0, rcItem.right, 0};
            ::DrawTextA(hDC, szText, -1, &rcText,
                        DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS |
                            ((dwStyle & SS_NOPREFIX) ? DT_NOPREFIX : 0));
            ::SelectObject(hDC, hOld);
            ::ReleaseDC(hItem, hDC);
            EXPECT_LE(rcText.bottom, rcItem.bottom) << szText;
            EXPECT_LE(rcText.right, rcItem.right) << szText;
            ++nMeasured;
        }
        ::DestroyWindow(hDlg);
        // The notice and the about box carry text; the others are pictures.
        EXPECT_EQ(nId == IDD_ABOUTBOX ? 2 : nId == IDD_NOTICE ? 1 : 0, nMeasured);
    }
}

TEST(TemplateLayoutTest, NoControlOverlapsAnother) {
    for (UINT nId : kTemplates) {
        SCOPED_TRACE("template " + std::to_string(nId));
        const CDialogTemplate dlgTemplate = LoadProgramTemplate(nId);
        const std::vector<CDialogTemplate::CItem>& items = dlgTemplate.m_items;
        ASSERT_FALSE(items.empty());
        for (size_t i = 0; i < items.size(); ++i) {
            for (size_t j = i + 1; j < items.size(); ++j) {
                const CDialogTemplate::CItem& a = items[i];
                const CDialogTemplate::CItem& b = items[j];
                // The wizard's two "next" buttons take turns in one place.
                if (a.nId == IDC_BTN_START && b.nId == IDC_BTN_TEST)
                    continue;
                const RECT ra = {a.x, a.y, a.x + a.cx, a.y + a.cy};
                const RECT rb = {b.x, b.y, b.x + b.cx, b.y + b.cy};
                RECT rcBoth;
                EXPECT_FALSE(::IntersectRect(&rcBoth, &ra, &rb))
                    << "controls " << a.nId << " and " << b.nId;
            }
        }
    }
}
