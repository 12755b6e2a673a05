// The wizard dialog under Wine: its state after initialisation, its window
// behaviour, and the repair stages run through real clicks.
#include "tests/win/FileHolder.h"
#include "tests/win/TestWizardDlg.h"
#include "tests/win/WinTestApp.h"

#include "app/WizardDlg.h"
#include "res/resource.h"
#include "skin/AboutDlg.h"
#include "wizard/WizardServer.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlobj.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char* const kIntroLines[] = {
    " ", "-  노르베인 플러그인 설치 마법사 입니다.",
    " ", "-  본 설치 프로그램을 통해 노르베인 플러그인을 이용한 결제를",
    " ", "    할 수 있도록 설치 및 복구하는 절차를 수행합니다.",
    " ", "-  아래 '다음'버튼을 누르시면 설치 및 복구를 진행합니다.",
    " ",
};

const char* const kPluginFiles[] = {
    "qelpay.dll", "qelcard.dll",   "qelcert.dll",     "qelnet.dll",
    "qelupd.dll", "vaultlib2.dll", "dirlook32.dll",   "cs_aud.dll",
    "cs_api.dll", "cshsmkey.dll",  "certkit_ioc.dll", "qelmark.bmp",
};

std::string PluginFolder() {
    char buffer[MAX_PATH] = {};
    ::SHGetSpecialFolderPathA(nullptr, buffer, CSIDL_PROGRAM_FILES, FALSE);
    return std::string(buffer) + "\\NORVANE\\QELWallet";
}

bool FileExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteFile(const std::string& path) {
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h) << path;
    DWORD written = 0;
    ::WriteFile(h, "x", 1, &written, nullptr);
    ::CloseHandle(h);
}

// Stage 2 through its click, the setup page closed at once; its log lines.
std::vector<std::string> RunStageTwo() {
    CTestWizardDlg dlg;
    bool bSetupSeen = false;
    std::vector<std::string> lines;
    dlg.m_body = [&](CTestWizardDlg& d) {
        PressOkOfNextDialog(d.m_hWnd, &bSetupSeen);
        d.Press(IDC_BTN_START);
        lines = d.Lines();
        d.EndDialog(0);
    };
    dlg.DoModal();
    EXPECT_TRUE(bSetupSeen);
    return lines;
}

} // namespace

TEST(WizardDlgTest, StateAfterInitialisation) {
    CTestWizardDlg dlg;
    dlg.m_body = [](CTestWizardDlg& d) {
        const std::vector<std::string> lines = d.Lines();
        ASSERT_EQ(9u, lines.size());
        for (size_t i = 0; i < lines.size(); ++i)
            EXPECT_EQ(kIntroLines[i], lines[i]) << "line " << i;

        EXPECT_EQ(0, d.Progress());
        EXPECT_EQ(0, ::SendMessageA(d.Item(IDC_PROGRESS), PBM_GETRANGE, TRUE, 0));
        EXPECT_EQ(10, ::SendMessageA(d.Item(IDC_PROGRESS), PBM_GETRANGE, FALSE, 0));

        EXPECT_TRUE(d.Visible(IDC_BTN_START));
        EXPECT_TRUE(d.Visible(IDC_BTN_CANCEL));
        EXPECT_FALSE(d.Visible(IDC_BTN_TEST));
        EXPECT_FALSE(d.Visible(IDC_HINT));

        RECT rcHint;
        ::GetWindowRect(d.Item(IDC_HINT), &rcHint);
        POINT topLeft = {rcHint.left, rcHint.top};
        ::ScreenToClient(d.m_hWnd, &topLeft);
        EXPECT_EQ(20, topLeft.x);
        EXPECT_EQ(478, topLeft.y);

        char title[128] = {};
        ::GetWindowTextA(d.m_hWnd, title, sizeof(title));
        EXPECT_STREQ("노르베인 플러그인 설치 마법사", title);

        for (const auto& tool :
             {std::make_pair(IDC_BTN_START, "OK"), std::make_pair(IDC_BTN_CANCEL, "CANCEL"),
              std::make_pair(IDC_BTN_TEST, "OK")}) {
            std::string tip;
            EXPECT_NE(nullptr, FindToolTip(d.Item(tool.first), &tip)) << tool.first;
            EXPECT_EQ(tool.second, tip) << tool.first;
        }

        d.EndDialog(0);
    };
    EXPECT_EQ(0, dlg.DoModal());
}

TEST(WizardDlgTest, NoAboutItemWithoutItsString) {
    // The template has no system menu; give the window one before its
    // initialisation, so that the item would have somewhere to go.
    CTestWizardDlg dlg;
    dlg.m_bSysMenu = true;
    dlg.m_body = [](CTestWizardDlg& d) {
        HMENU hSysMenu = ::GetSystemMenu(d.m_hWnd, FALSE);
        ASSERT_NE(nullptr, hSysMenu);
        EXPECT_EQ(static_cast<UINT>(-1), ::GetMenuState(hSysMenu, IDM_ABOUTBOX, MF_BYCOMMAND));
        const int nItems = ::GetMenuItemCount(hSysMenu);
        ::GetSystemMenu(d.m_hWnd, TRUE);
        EXPECT_EQ(::GetMenuItemCount(::GetSystemMenu(d.m_hWnd, FALSE)), nItems);
        d.EndDialog(0);
    };
    dlg.DoModal();
}

TEST(WizardDlgTest, FirstEraseFitsTheWindowToTheBackground) {
    CTestWizardDlg dlg;
    dlg.m_body = [](CTestWizardDlg& d) {
        ::RedrawWindow(d.m_hWnd, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ERASENOW);
        RECT rc;
        ::GetWindowRect(d.m_hWnd, &rc);
        EXPECT_EQ(490, rc.right - rc.left);
        EXPECT_EQ(510, rc.bottom - rc.top);
        // Centred on the work area, since it has no owner.
        RECT rcWork;
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
        EXPECT_LE(std::abs((rc.left + rc.right) - (rcWork.left + rcWork.right)), 1);
        EXPECT_LE(std::abs((rc.top + rc.bottom) - (rcWork.top + rcWork.bottom)), 1);
        // A later erase paints only: a moved window stays where it is.
        ::SetWindowPos(d.m_hWnd, nullptr, 3, 4, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ::RedrawWindow(d.m_hWnd, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ERASENOW);
        ::GetWindowRect(d.m_hWnd, &rc);
        EXPECT_EQ(3, rc.left);
        EXPECT_EQ(4, rc.top);
        d.EndDialog(0);
    };
    dlg.DoModal();
}

TEST(WizardDlgTest, AboutBoxOnlyForItsSystemCommand) {
    CTestWizardDlg dlg;
    bool bAboutFor32 = true;
    dlg.m_body = [&](CTestWizardDlg& d) {
        for (UINT nCommand : {16u, 31u}) {
            bool bSeen = false;
            PostToModalLoop([&bSeen] {
                HWND hAbout = FindThreadDialog("QelPluginWizard 정보");
                bSeen = hAbout != nullptr;
                if (hAbout != nullptr)
                    ::SendMessageA(hAbout, WM_COMMAND, IDOK, 0);
            });
            d.SendMessage(WM_SYSCOMMAND, nCommand, 0);
            EXPECT_TRUE(bSeen) << "command " << nCommand;
        }
        // Had 32 opened the box, this would run in its loop and close it.
        PostToModalLoop([&bAboutFor32] {
            HWND hAbout = FindThreadDialog("QelPluginWizard 정보");
            bAboutFor32 = hAbout != nullptr;
            if (hAbout != nullptr)
                ::SendMessageA(hAbout, WM_COMMAND, IDOK, 0);
        });
        d.SendMessage(WM_SYSCOMMAND, 32, 0);
        PostToModalLoop([&d] { d.EndDialog(0); });
    };
    dlg.DoModal();
    EXPECT_FALSE(bAboutFor32);
}

TEST(WizardDlgTest, AboutBoxRightsNoticeFitsOnItsLine) {
    std::string notice;
    int nTextWidth = 0;
    int nLineWidth = 0;
    CAboutDlg dlg;
    PostToModalLoop([&] {
        HWND hAbout = FindThreadDialog("QelPluginWizard 정보");
        if (hAbout == nullptr) {
            ADD_FAILURE() << "no about box";
            dlg.EndDialog(IDABORT);
            return;
        }
        // Icon, name and version, then the rights notice.
        HWND hNotice =
            ::GetWindow(::GetWindow(::GetWindow(hAbout, GW_CHILD), GW_HWNDNEXT), GW_HWNDNEXT);
        char text[128] = {};
        const int length = ::GetWindowTextA(hNotice, text, sizeof(text));
        notice = text;
        HDC hDC = ::GetDC(hNotice);
        HGDIOBJ hOld = ::SelectObject(
            hDC, reinterpret_cast<HGDIOBJ>(::SendMessageA(hNotice, WM_GETFONT, 0, 0)));
        SIZE size = {};
        ::GetTextExtentPoint32A(hDC, text, length, &size);
        ::SelectObject(hDC, hOld);
        ::ReleaseDC(hNotice, hDC);
        nTextWidth = size.cx;
        RECT rc;
        ::GetClientRect(hNotice, &rc);
        nLineWidth = rc.right;
        ::SendMessageA(hAbout, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_NE(std::string::npos, notice.find("NORVANE")) << notice;
    EXPECT_GT(nTextWidth, 0);
    EXPECT_LE(nTextWidth, nLineWidth) << notice;
}

TEST(WizardDlgTest, ClientAreaDragsLikeACaption) {
    CTestWizardDlg dlg;
    dlg.m_body = [](CTestWizardDlg& d) {
        RECT rc;
        ::GetWindowRect(d.m_hWnd, &rc);
        // A point on the background, clear of every control.
        EXPECT_EQ(HTCAPTION, d.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(rc.left + 10, rc.top + 10)));
        EXPECT_EQ(HTNOWHERE,
                  d.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(rc.right + 50, rc.bottom + 50)));
        d.EndDialog(0);
    };
    dlg.DoModal();
}

TEST(WizardDlgTest, WaysOfEnding) {
    struct SCase {
        const char* name;
        std::function<void(CTestWizardDlg&)> end;
        INT_PTR expected;
    };
    const SCase cases[] = {
        {"cancel button", [](CTestWizardDlg& d) { d.Press(IDC_BTN_CANCEL); }, 0},
        {"Esc",
         [](CTestWizardDlg& d) { ::PostMessageA(d.Item(IDC_LOG), WM_KEYDOWN, VK_ESCAPE, 0); }, 0},
        {"WM_CLOSE", [](CTestWizardDlg& d) { d.PostMessage(WM_CLOSE); }, 0},
        {"Enter",
         [](CTestWizardDlg& d) { ::PostMessageA(d.Item(IDC_LOG), WM_KEYDOWN, VK_RETURN, 0); },
         IDOK},
    };
    for (const SCase& c : cases) {
        CTestWizardDlg dlg;
        dlg.m_body = c.end;
        EXPECT_EQ(c.expected, dlg.DoModal()) << c.name;
    }
}

TEST(WizardDlgTest, StageOneShowsTheNoticeThenEndsTheBrowsers) {
    // The notice ends on the button-down on its OK picture, or on Esc.
    for (const bool bEsc : {false, true}) {
        CTestWizardDlg dlg;
        bool bNoticeSeen = false;
        bool bGoneAfterPress = false;
        dlg.m_body = [&](CTestWizardDlg& d) {
            PostToModalLoop([&, hWizard = d.m_hWnd] {
                HWND hNotice = FindOwnedDialog(hWizard);
                bNoticeSeen = hNotice != nullptr && !::IsWindowEnabled(hWizard);
                if (hNotice == nullptr)
                    return;
                HWND hOk = ::GetDlgItem(hNotice, IDC_BTN_OK);
                if (bEsc) {
                    ::PostMessageA(hOk, WM_KEYDOWN, VK_ESCAPE, 0);
                    return;
                }
                ::ShowWindow(hNotice, SW_SHOW);
                ::SendMessageA(hOk, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
                bGoneAfterPress = !::IsWindowVisible(hNotice);
            });
            d.SendMessage(WM_TIMER, IDT_NOTICE, 0);
            EXPECT_EQ(9, d.LineCount());
            EXPECT_EQ(0, d.Progress());
            d.EndDialog(0);
        };
        dlg.DoModal();
        EXPECT_TRUE(bNoticeSeen) << bEsc;
        EXPECT_EQ(!bEsc, bGoneAfterPress);
        ASSERT_EQ(1u, dlg.m_starts.size()) << bEsc;
        EXPECT_EQ("hidden:taskkill /F /IM iexplore.exe", dlg.m_starts[0]);
    }
}

TEST(WizardDlgTest, FullRunDeletesExactlyThePluginFiles) {
    const std::string folder = PluginFolder();
    ::SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
    for (const char* name : kPluginFiles)
        WriteFile(folder + "\\" + name);
    WriteFile(folder + "\\keep.txt");

    CTestWizardDlg dlg;
    bool bSetupSeen = false;
    dlg.m_body = [&](CTestWizardDlg& d) {
        PressOkOfNextDialog(d.m_hWnd, &bSetupSeen);
        d.Press(IDC_BTN_START);

        EXPECT_EQ(11, d.LineCount());
        EXPECT_EQ(" ", d.Lines().front());
        EXPECT_EQ(5, d.Progress());
        EXPECT_FALSE(d.Visible(IDC_BTN_START));
        EXPECT_TRUE(d.Visible(IDC_BTN_TEST));
        EXPECT_FALSE(d.Visible(IDC_HINT));

        d.SendMessage(WM_TIMER, IDT_HINT, 0);
        EXPECT_TRUE(d.Visible(IDC_HINT));

        // The payment test's dialog, closed before any page: a failure.
        bool bPayTestSeen = false;
        PressOkOfNextDialog(d.m_hWnd, &bPayTestSeen);
        d.Press(IDC_BTN_TEST);
        EXPECT_TRUE(bPayTestSeen);
        const std::vector<std::string> lines = d.Lines();
        ASSERT_EQ(19u, lines.size());
        EXPECT_EQ("√  결제 테스트 중 취소 하였습니다.", lines[14]);
        EXPECT_EQ("   연락 주시기 바랍니다.", lines[18]);
        EXPECT_EQ(10, d.Progress());
        EXPECT_FALSE(d.Visible(IDC_BTN_START));
        EXPECT_FALSE(d.Visible(IDC_BTN_TEST));
        EXPECT_FALSE(d.Visible(IDC_HINT));
        EXPECT_TRUE(d.Visible(IDC_BTN_CANCEL));
        // Scrolled so that the last line shows.
        RECT rcItem, rcList;
        ::SendMessageA(d.Item(IDC_LOG), LB_GETITEMRECT, 18, reinterpret_cast<LPARAM>(&rcItem));
        ::GetClientRect(d.Item(IDC_LOG), &rcList);
        EXPECT_LE(rcItem.bottom, rcList.bottom);
        d.EndDialog(0);
    };
    dlg.DoModal();

    EXPECT_TRUE(bSetupSeen);
    for (const char* name : kPluginFiles)
        EXPECT_FALSE(FileExists(folder + "\\" + name)) << name;
    EXPECT_TRUE(FileExists(folder + "\\keep.txt"));
    ASSERT_EQ(1u, dlg.m_starts.size());
    EXPECT_EQ(std::string("open:iexplore.exe ") + WIZARD_URL_INSTALLER, dlg.m_starts[0]);
    ::DeleteFileA((folder + "\\keep.txt").c_str());
}

// Read-only, hidden and system files go. A folder by a file's name, a file
// another program holds, or one whose second name lies outside the folder
// stays and the second line says so.
TEST(WizardDlgTest, StageTwoTellsWhetherAPluginFileIsLeft) {
    const std::string folder = PluginFolder();
    ::SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
    const std::string pay = folder + "\\qelpay.dll";
    const std::string card = folder + "\\qelcard.dll";
    const std::string net = folder + "\\qelnet.dll";
    const std::string mark = folder + "\\qelmark.bmp";
    const std::string outside = folder + "\\..\\outside.dll";
    const DWORD dwReadOnly = FILE_ATTRIBUTE_READONLY;

    WriteFile(pay);
    ::SetFileAttributesA(pay.c_str(), dwReadOnly | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    WriteFile(card);
    ::SetFileAttributesA(card.c_str(), dwReadOnly);
    ::CreateDirectoryA(mark.c_str(), nullptr);
    const char* const partly = "√  설치경로의 결제창 파일 일부를 삭제하지 못했습니다.";
    std::vector<std::string> lines = RunStageTwo();
    ASSERT_EQ(11u, lines.size());
    EXPECT_EQ(partly, lines[2]);
    EXPECT_FALSE(FileExists(pay));
    EXPECT_FALSE(FileExists(card));
    EXPECT_TRUE(FileExists(mark));
    ::RemoveDirectoryA(mark.c_str());
    WriteFile(pay);
    ::SetFileAttributesA(pay.c_str(), dwReadOnly);
    lines = RunStageTwo();
    EXPECT_EQ("√  설치경로의 결제창 파일이 삭제 되었습니다.", lines[2]);
    EXPECT_FALSE(FileExists(pay));

    for (const char* name : kPluginFiles)
        WriteFile(folder + "\\" + name);
    {
        CFileHolder holder(card);
        ASSERT_TRUE(holder.Held());
        lines = RunStageTwo();
    }
    ASSERT_EQ(11u, lines.size());
    EXPECT_EQ(partly, lines[2]);
    for (const char* name : kPluginFiles)
        EXPECT_EQ(folder + "\\" + name == card, FileExists(folder + "\\" + name)) << name;
    ::DeleteFileA(card.c_str());

    WriteFile(outside);
    ::SetFileAttributesA(outside.c_str(), dwReadOnly);
    ASSERT_TRUE(::CreateHardLinkA(net.c_str(), outside.c_str(), nullptr));
    lines = RunStageTwo();
    ASSERT_EQ(11u, lines.size());
    EXPECT_EQ(partly, lines[2]);
    EXPECT_TRUE(FileExists(net));
    EXPECT_EQ(dwReadOnly, ::GetFileAttributesA(outside.c_str()) & dwReadOnly);
    for (const std::string& path : {net, outside}) {
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(path.c_str());
    }
}
