// The repair procedure's stages: browser shutdown (timer IDT_NOTICE), plug-in
// reinstallation (first next button), hint (timer IDT_HINT) and payment test
// (second next button). Straight-line sequences over IRepairHost.
#pragma once

#include "wizard/RepairHost.h"

#define IDT_NOTICE 1
#define IDT_HINT 2
#define IDT_NOTICE_ELAPSE 100
#define IDT_HINT_ELAPSE 4000

#define HINT_X 20
#define HINT_Y 478

class CRepairProcedure {
public:
    explicit CRepairProcedure(IRepairHost& host);

    // Timer 1 runs stage 1, timer 2 the hint step; other ids do nothing.
    // The dialog passes the message on to default processing afterwards.
    void OnTimer(UINT nIDEvent);
    void OnBtnStart();
    void OnBtnTest();

private:
    void OnNoticeTimer();
    void OnHintTimer();

    void AddLogLines(const LPCTSTR* lines, int count);

    IRepairHost& m_host;
};
