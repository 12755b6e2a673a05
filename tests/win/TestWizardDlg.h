// The wizard dialog as the Wine tests drive it: its process starts recorded
// instead of run, and a hook that runs the test body once the dialog is up.
#pragma once

#include "tests/win/WinTestApp.h"

#include "app/WizardDlg.h"
#include "res/resource.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

class CTestWizardDlg : public CWizardDlg {
public:
    // As in the program, the wizard is the application's main window, so the
    // dialogs it opens with no parent are owned by it.
    CTestWizardDlg() { AfxGetApp()->m_pMainWnd = this; }
    ~CTestWizardDlg() override { AfxGetApp()->m_pMainWnd = nullptr; }

    std::vector<std::string> m_starts;
    std::function<void(CTestWizardDlg&)> m_body;
    // Runs where stage 2 starts the browser.
    std::function<void()> m_onShellOpen;
    bool m_bSysMenu = false;
    // Stage 1 is driven by the tests, not by the clock: its timer goes
    // unless a test wants to see the wizard stop it itself.
    bool m_bKillNoticeTimer = true;

    void RunHidden(LPCTSTR commandLine) override {
        m_starts.push_back(std::string("hidden:") + commandLine);
    }
    void ShellOpenHidden(LPCTSTR file, LPCTSTR parameters) override {
        m_starts.push_back(std::string("open:") + file + " " + parameters);
        if (m_onShellOpen)
            m_onShellOpen();
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CREATE && m_bSysMenu)
            ::SetWindowLongA(m_hWnd, GWL_STYLE, ::GetWindowLongA(m_hWnd, GWL_STYLE) | WS_SYSMENU);
        return CWizardDlg::WindowProc(message, wParam, lParam);
    }
    BOOL OnInitDialog() override {
        BOOL bResult = CWizardDlg::OnInitDialog();
        if (m_bKillNoticeTimer)
            CWnd::KillTimer(IDT_NOTICE);
        if (m_body)
            PostToModalLoop([this] { m_body(*this); });
        return bResult;
    }

    HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }
    bool Visible(int id) const { return ::IsWindowVisible(Item(id)) != FALSE; }
    int LineCount() const {
        return static_cast<int>(::SendMessageA(Item(IDC_LOG), LB_GETCOUNT, 0, 0));
    }
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        for (int i = 0; i < LineCount(); ++i)
            lines.push_back(ListLine(Item(IDC_LOG), i));
        return lines;
    }
    int Progress() const {
        return static_cast<int>(::SendMessageA(Item(IDC_PROGRESS), PBM_GETPOS, 0, 0));
    }
    // A press on an image button, as the mouse delivers it.
    void Press(int id) {
        ::SendMessageA(Item(id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        ::SendMessageA(Item(id), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
};

// Ends the next dialog that the wizard opens with a press on its OK picture
// (Cancel where it has none) and reports in *pSeen whether it was there,
// with the wizard disabled.
void PressOkOfNextDialog(HWND hWndWizard, bool* pSeen);
