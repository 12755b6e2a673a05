// Handle accounting under Wine: each dialog opened and closed 100 times
// leaves the process's GDI and USER objects and the stand-in browser's live
// objects where they were. Pages come from the demo server on the wizard's
// address (with_demo_server.py starts it); the windows live on a virtual
// desktop of their own, where hiding and destroying a window costs no wait.
#include "tests/win/LoopbackListener.h"
#include "tests/win/TestWizardDlg.h"
#include "tests/win/WinTestApp.h"

#include "framework/HandleCount.h"
#include "framework/OleControlSite.h"
#include "framework/OleVariant.h"
#include "skin/AboutDlg.h"
#include "skin/NoticeDlg.h"
#include "web/PayTestCountdown.h"
#include "web/PayTestDlg.h"
#include "web/SetupPageDlg.h"
#include "wizard/WizardServer.h"
#include "wizard/PaymentVerdict.h"

#include <exdispid.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

const int kRuns = 100;
const char kDesktop[] = "QelHandles";
const UINT kGuardMs = 15000;

bool UnderWine() {
    return ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

// Under Wine, before this thread has any window: a desktop of its own, which
// Wine shows as a virtual desktop of the size the prefix's registry gives it.
bool UseOwnDesktop() {
    if (!UnderWine())
        return false;
    HKEY hKey = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\Explorer\\Desktops", 0, nullptr, 0,
                          KEY_SET_VALUE, nullptr, &hKey, nullptr) == ERROR_SUCCESS) {
        const char kSize[] = "1024x768";
        ::RegSetValueExA(hKey, kDesktop, 0, REG_SZ, reinterpret_cast<const BYTE*>(kSize),
                         sizeof(kSize));
        ::RegCloseKey(hKey);
    }
    HDESK hDesk = ::CreateDesktopA(kDesktop, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    return hDesk != nullptr && ::SetThreadDesktop(hDesk);
}

const bool g_bOwnDesktop = UseOwnDesktop();

std::string StandinLogPath() {
    char szTemp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, szTemp);
    return std::string(szTemp) + "qel-handles-standin.log";
}

class CHandleEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ::SetEnvironmentVariableA("QEL_BROWSER", nullptr);
        ::DeleteFileA(StandinLogPath().c_str());
        ::SetEnvironmentVariableA("QEL_BROWSER_LOG", StandinLogPath().c_str());
    }
};

const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new CHandleEnvironment);

// GDI objects of the process. Wine's GetGuiResources answers 0; there every
// handle-table index is asked for its object type, since Wine takes a handle
// given by its index alone (upper word 0).
long GdiObjects() {
    const DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (n != 0)
        return static_cast<long>(n);
    long nLive = 0;
    for (ULONG_PTR i = 1; i < 0x10000; ++i)
        nLive += ::GetObjectType(reinterpret_cast<HGDIOBJ>(i)) != 0;
    return nLive;
}

BOOL CALLBACK CountOwnWindow(HWND hWnd, LPARAM lParam) {
    DWORD dwProcess = 0;
    ::GetWindowThreadProcessId(hWnd, &dwProcess);
    if (dwProcess == ::GetCurrentProcessId())
        ++*reinterpret_cast<long*>(lParam);
    return TRUE;
}

BOOL CALLBACK CountWindowTree(HWND hWnd, LPARAM lParam) {
    const long nBefore = *reinterpret_cast<long*>(lParam);
    CountOwnWindow(hWnd, lParam);
    if (*reinterpret_cast<long*>(lParam) != nBefore)
        ::EnumChildWindows(hWnd, CountOwnWindow, lParam);
    return TRUE;
}

// USER objects of the process; where GetGuiResources answers 0, its windows
// (top-level, message-only and all their descendants).
long UserObjects() {
    const DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    if (n != 0)
        return static_cast<long>(n);
    long nWindows = 0;
    ::EnumWindows(CountWindowTree, reinterpret_cast<LPARAM>(&nWindows));
    for (HWND h = ::FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); h != nullptr;
         h = ::FindWindowExA(HWND_MESSAGE, h, nullptr, nullptr))
        CountWindowTree(h, reinterpret_cast<LPARAM>(&nWindows));
    return nWindows;
}

// The stand-in's live objects: asked whether it can unload, it writes
// "live N" to its call log. Not loaded, it has none.
long StandinLive() {
    HMODULE hModule = ::GetModuleHandleA("QelStandin.dll");
    if (hModule == nullptr)
        return 0;
    using CanUnloadFn = HRESULT(STDAPICALLTYPE*)();
    auto pfn = reinterpret_cast<CanUnloadFn>(
        reinterpret_cast<void*>(::GetProcAddress(hModule, "DllCanUnloadNow")));
    if (pfn == nullptr)
        return -1;
    pfn();
    std::ifstream log(StandinLogPath());
    long nLive = -1;
    for (std::string line; std::getline(log, line);) {
        const size_t at = line.find("] live ");
        if (at != std::string::npos)
            nLive = std::stol(line.substr(at + 7));
    }
    return nLive;
}

struct SCounts {
    long nGdi;           // GDI objects of the process (under Wine: the handle table's)
    long nUser;          // USER objects of the process (under Wine: its windows)
    long nLibraryGdi;    // made through the class library's GDI wrappers
    long nLibraryUser;   // cursor copies of the image buttons
    long nWindowObjects; // handles bound to window objects
    long nStandin;       // the stand-in browser's live objects

    static SCounts Now() {
        return {GdiObjects(),
                UserObjects(),
                CHandleCount::Live(GR_GDIOBJECTS),
                CHandleCount::Live(GR_USEROBJECTS),
                static_cast<long>(CWnd::GetPermanentCount()),
                StandinLive()};
    }
    std::string Text() const {
        char sz[160];
        std::snprintf(sz, sizeof(sz),
                      "GDI %ld, USER %ld, library GDI %ld USER %ld windows %ld, "
                      "stand-in live %ld",
                      nGdi, nUser, nLibraryGdi, nLibraryUser, nWindowObjects, nStandin);
        return sz;
    }
};

// Ends the innermost dialog that is still open when the bound passes, so that
// a page flow that never ends fails its run instead of hanging the test.
class CGuard {
public:
    CGuard() { m_nId = ::SetTimer(nullptr, 0, kGuardMs, &CGuard::OnTimer); }
    ~CGuard() { ::KillTimer(nullptr, m_nId); }
    static bool s_bFired;

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        CWnd* pMain = AfxGetMainWnd();
        HWND hDlg = FindOwnedDialog(pMain ? pMain->m_hWnd : nullptr);
        if (hDlg == nullptr && pMain != nullptr)
            hDlg = pMain->m_hWnd;
        s_bFired = true;
        ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
    }
    UINT_PTR m_nId;
};
bool CGuard::s_bFired = false;

// One run to warm up (the system's and the stand-in's first-use caches), the
// counts, kRuns runs, the counts again: run returns whether it went as meant.
void ExpectBalanced(const char* name, const std::function<bool()>& run) {
    ASSERT_TRUE(g_bOwnDesktop || !UnderWine()) << "no desktop of its own";
    ASSERT_TRUE(run()) << name;
    const SCounts before = SCounts::Now();
    int nGood = 0;
    for (int i = 0; i < kRuns; ++i) {
        CGuard guard;
        CGuard::s_bFired = false;
        nGood += run() && !CGuard::s_bFired;
    }
    const SCounts after = SCounts::Now();
    std::printf("%s x%d: before %s\n%s x%d: after  %s\n", name, kRuns, before.Text().c_str(), name,
                kRuns, after.Text().c_str());
    EXPECT_EQ(kRuns, nGood) << name;
    EXPECT_EQ(before.Text(), after.Text()) << name;
    EXPECT_EQ(0, after.nStandin) << name;
}

// Runs dlg with act(its window) run from inside its modal loop.
INT_PTR RunDialog(CDialog& dlg, const std::function<void(HWND)>& act) {
    PostToModalLoop([&act] { act(FindOwnedDialog(nullptr)); });
    return dlg.DoModal();
}

void PressOk(HWND hDlg) {
    ::SendMessageA(::GetDlgItem(hDlg, IDC_BTN_OK), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
}

} // namespace

TEST(Handles, NoticeDialog) {
    ExpectBalanced("notice", [] {
        CNoticeDlg dlg(nullptr);
        return RunDialog(dlg, PressOk) == 0;
    });
}

TEST(Handles, AboutBox) {
    ExpectBalanced("about", [] {
        CAboutDlg dlg;
        return RunDialog(dlg, [](HWND h) { ::SendMessageA(h, WM_COMMAND, IDOK, 0); }) == IDOK;
    });
}

TEST(Handles, SetupPageThroughItsPageFlow) {
    ExpectBalanced("setup page", [] {
        // The setup page moves on to its marker page, which ends the dialog.
        CSetupPageDlg dlg(nullptr);
        return RunDialog(dlg, [](HWND) {}) == 0 && dlg.m_strResult == CString("y|ok|");
    });
    EXPECT_NE(nullptr, ::GetModuleHandleA("QelStandin.dll"));
}

TEST(Handles, PayTestTimeOutAfterItsPage) {
    ExpectBalanced("payment test", [] {
        CPayTestDlg dlg(nullptr);
        dlg.m_strUrl = WIZARD_URL_PAYTEST "?flow=stall";
        bool bPage = false;
        const INT_PTR nResult = RunDialog(dlg, [&bPage](HWND hDlg) {
            // Its page shown (the browser given its full size), then the time-out.
            HWND hBrowser = ::GetDlgItem(hDlg, IDC_BROWSER_PAYTEST);
            bPage = PumpUntil(
                [hBrowser] {
                    RECT rc = {};
                    ::GetWindowRect(hBrowser, &rc);
                    return rc.right - rc.left == 495;
                },
                kGuardMs);
            for (int i = 0; i <= CPayTestCountdown::TICKS; ++i)
                ::SendMessageA(hDlg, WM_TIMER, CPayTestCountdown::TIMER_ID, 0);
        });
        return nResult == 0 && bPage && dlg.m_strResult == CString(PAYTEST_TIMEOUT_RESULT);
    });
}

// The page opens two pop-ups (NewWindow3, as the control fires it), still
// open at the time-out: their windows and controls go with the dialog.
TEST(Handles, PayTestPopupsClosedByTheTimeOut) {
    ExpectBalanced("payment test with pop-ups", [] {
        CPayTestDlg dlg(nullptr);
        dlg.m_strUrl = WIZARD_URL_PAYTEST "?flow=stall";
        int nOpened = 0;
        const INT_PTR nResult = RunDialog(dlg, [&nOpened](HWND hDlg) {
            CWnd* pBrowser = CWnd::FromHandlePermanent(::GetDlgItem(hDlg, IDC_BROWSER_PAYTEST));
            IDispatch* pSink = pBrowser->GetControlSite()->GetEventSink();
            for (int i = 0; i < 2; ++i) {
                IDispatch* pPopup = nullptr;
                VARIANT_BOOL bCancel = VARIANT_FALSE;
                COleVariant url(WIZARD_URL_PAYTEST "?flow=stall");
                VARIANT args[5] = {url, url};
                args[2].vt = VT_I4;
                args[2].lVal = 0;
                args[3].vt = VT_BOOL | VT_BYREF;
                args[3].pboolVal = &bCancel;
                args[4].vt = VT_DISPATCH | VT_BYREF;
                args[4].ppdispVal = &pPopup;
                DISPPARAMS params = {args, nullptr, 5, 0};
                pSink->Invoke(DISPID_NEWWINDOW3, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr,
                              nullptr, nullptr);
                ::VariantClear(&url);
                if (pPopup != nullptr) {
                    ++nOpened;
                    pPopup->Release();
                }
            }
            for (int i = 0; i <= CPayTestCountdown::TICKS; ++i)
                ::SendMessageA(hDlg, WM_TIMER, CPayTestCountdown::TIMER_ID, 0);
        });
        return nResult == 0 && nOpened == 2;
    });
}

TEST(Handles, WizardStagesWithProcessStartsStubbed) {
    ExpectBalanced("wizard", [] {
        CTestWizardDlg dlg;
        bool bNotice = false;
        bool bSuccess = false;
        dlg.m_body = [&](CTestWizardDlg& d) {
            PressOkOfNextDialog(d.m_hWnd, &bNotice);
            d.SendMessage(WM_TIMER, IDT_NOTICE, 0);
            d.Press(IDC_BTN_START); // the setup page ends with its page flow
            d.SendMessage(WM_TIMER, IDT_HINT, 0);
            d.Press(IDC_BTN_TEST); // so does the payment test's, a success
            const std::vector<std::string> lines = d.Lines();
            bSuccess = lines.size() == 16 &&
                       lines[14] == "√  모든 결제 테스트가 정상적으로 완료 되었습니다.";
            d.Press(IDC_BTN_CANCEL);
        };
        return dlg.DoModal() == 0 && bNotice && bSuccess && dlg.m_starts.size() == 2;
    });
}
