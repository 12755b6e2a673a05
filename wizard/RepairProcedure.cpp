#include "wizard/RepairProcedure.h"

#include "wizard/PluginDeletion.h"
#include "wizard/WizardServer.h"

namespace {
const LPCTSTR BLANK_LINE = " ";
const LPCTSTR TASKKILL_COMMAND = "taskkill /F /IM iexplore.exe";
const LPCTSTR INSTALLER_BROWSER = "iexplore.exe";

const LPCTSTR SUCCESS_LINES[] = {
    "√  모든 결제 테스트가 정상적으로 완료 되었습니다.",
    "√  결제 하셨던 쇼핑몰에서 결제를 진행하여 주시기 바랍니다.",
};

const LPCTSTR FAILURE_LINES[] = {
    "√  결제 테스트 중 취소 하였습니다.", "√  결제 하셨던 쇼핑몰에서 결제를 시도하여 주시고",
    "   계속 오류가 발생할 경우",         "   벨루스 기술지원팀(02-3141-5926,내선3번)으로",
    "   연락 주시기 바랍니다.",
};

template <typename T, int N> constexpr int CountOf(T (&)[N]) {
    return N;
}
} // namespace

CRepairProcedure::CRepairProcedure(IRepairHost& host) : m_host(host) {}

void CRepairProcedure::OnTimer(UINT nIDEvent) {
    if (nIDEvent == IDT_NOTICE)
        OnNoticeTimer();
    else if (nIDEvent == IDT_HINT)
        OnHintTimer();
}

void CRepairProcedure::OnNoticeTimer() {
    m_host.KillTimer(IDT_NOTICE);
    m_host.RunNotice();
    m_host.RunHidden(TASKKILL_COMMAND);
}

void CRepairProcedure::OnHintTimer() {
    m_host.KillTimer(IDT_HINT);
    m_host.PlaceHint(HINT_X, HINT_Y, 1);
}

void CRepairProcedure::OnBtnStart() {
    m_host.ClearLog();
    m_host.AddLogLine(BLANK_LINE);
    m_host.AddLogLine("√  설치경로의 결제창 파일을 삭제합니다.");
    m_host.SetProgress(2);
    if (CPluginDeletion(m_host).Run())
        m_host.AddLogLine("√  설치경로의 결제창 파일이 삭제 되었습니다.");
    else
        m_host.AddLogLine("√  설치경로의 결제창 파일 일부를 삭제하지 못했습니다.");
    m_host.AddLogLine(BLANK_LINE);
    m_host.SetProgress(3);
    m_host.AddLogLine("√  카드사 인증 플러그 인을 재설치합니다.");
    m_host.SetProgress(4);
    m_host.RunSetupPage();
    m_host.AddLogLine("√  카드사 인증 플러그 인의 재설치가 완료되었습니다.");
    m_host.AddLogLine(BLANK_LINE);
    m_host.AddLogLine("√  결제창 플러그인 파일을 재설치합니다.");
    m_host.SetProgress(5);
    m_host.AddLogLine("√  설치 프로그램이 호출되면 반드시 '실행'버튼을 클릭하여");
    m_host.AddLogLine("   설치를 진행하여 주시기 바랍니다.");
    const CString strInstaller(WIZARD_URL_INSTALLER);
    m_host.ShellOpenHidden(INSTALLER_BROWSER, strInstaller);
    m_host.AddLogLine(BLANK_LINE);
    m_host.ShowTestButton(1);
    m_host.ShowStartButton(0);
    m_host.SetTimer(IDT_HINT, IDT_HINT_ELAPSE);
}

void CRepairProcedure::OnBtnTest() {
    // No next button is left after this stage, so the hint must not appear.
    m_host.KillTimer(IDT_HINT);
    m_host.PlaceHint(HINT_X, HINT_Y, 0);
    m_host.AddLogLine("√  플러그인 파일의 재설치가 완료 되었습니다.");
    m_host.SetProgress(7);
    m_host.AddLogLine("√  결제 테스트를 진행합니다.");
    m_host.AddLogLine(BLANK_LINE);
    if (m_host.RunPaymentTest() == 1)
        AddLogLines(SUCCESS_LINES, CountOf(SUCCESS_LINES));
    else
        AddLogLines(FAILURE_LINES, CountOf(FAILURE_LINES));
    m_host.ScrollLogToEnd();
    m_host.SetProgress(10);
    m_host.ShowTestButton(0);
}

void CRepairProcedure::AddLogLines(const LPCTSTR* lines, int count) {
    for (int i = 0; i < count; ++i)
        m_host.AddLogLine(lines[i]);
}
