// The wizard waits for a click with no timer pending on its window: after
// start-up (stage 1 done), after stage 2's hint and after the verdict.
#include "tests/win/TestWizardDlg.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>

namespace {

// Timers pending on the window. The class library's SetTimer and KillTimer
// keep the ids of a window's live timers, and the program sets every timer
// through them, so their count covers any id without disturbing one. The
// system's view confirms it for the ids the stages use: a ::KillTimer that
// succeeds found a timer still pending.
size_t PendingTimers(CWnd& wnd) {
    size_t nSystem = 0;
    for (UINT_PTR nId : {IDT_NOTICE, IDT_HINT})
        nSystem += ::KillTimer(wnd.m_hWnd, nId) != FALSE;
    return std::max(wnd.GetTimerCount(), nSystem);
}

} // namespace

TEST(WizardIdle, NoTimerPending) {
    CTestWizardDlg dlg;
    dlg.m_bKillNoticeTimer = false;
    size_t nStartTimers = 0;
    size_t nHintTimers = 0;
    std::vector<size_t> idle;
    bool bDialogs[3] = {};
    dlg.m_body = [&](CTestWizardDlg& d) {
        nStartTimers = d.GetTimerCount();
        PressOkOfNextDialog(d.m_hWnd, &bDialogs[0]);
        d.SendMessage(WM_TIMER, IDT_NOTICE, 0);
        idle.push_back(PendingTimers(d));

        PressOkOfNextDialog(d.m_hWnd, &bDialogs[1]);
        d.Press(IDC_BTN_START);
        nHintTimers = d.GetTimerCount();
        d.SendMessage(WM_TIMER, IDT_HINT, 0);
        EXPECT_TRUE(d.Visible(IDC_HINT));
        idle.push_back(PendingTimers(d));

        PressOkOfNextDialog(d.m_hWnd, &bDialogs[2]);
        d.Press(IDC_BTN_TEST);
        EXPECT_EQ(10, d.Progress());
        idle.push_back(PendingTimers(d));
        d.EndDialog(0);
    };
    dlg.DoModal();

    // The count sees the stages' timers while they are meant to run.
    EXPECT_EQ(1u, nStartTimers);
    EXPECT_EQ(1u, nHintTimers);
    EXPECT_TRUE(bDialogs[0] && bDialogs[1] && bDialogs[2]);
    ASSERT_EQ(3u, idle.size());
    const size_t nMost = *std::max_element(idle.begin(), idle.end());
    // One plain line for the budget script (no "\r" from the C runtime).
    std::fflush(stdout);
    const int nMode = _setmode(_fileno(stdout), _O_BINARY);
    std::printf("idle timers on the wizard window: %u\n", static_cast<unsigned>(nMost));
    std::fflush(stdout);
    _setmode(_fileno(stdout), nMode);
    EXPECT_EQ(0u, nMost);
}
