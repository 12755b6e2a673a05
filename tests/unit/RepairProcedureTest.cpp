#include "tests/unit/RecordingHost.h"
#include "wizard/RepairProcedure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// A host whose timers reach the procedure only while they are pending, as
// WM_TIMER does; the dialog starts with timer 1 pending (OnInitDialog).
class RepairProcedureTest : public ::testing::Test {
protected:
    CRecordingHost m_host;
    CRepairProcedure m_procedure{m_host};

    void SetUp() override { m_host.m_timers.insert(IDT_NOTICE); }

    bool Tick(UINT id) {
        if (!m_host.m_timers.count(id))
            return false;
        m_procedure.OnTimer(id);
        return true;
    }
    Calls TakeCalls() {
        Calls calls;
        calls.swap(m_host.m_calls);
        return calls;
    }
    void RunToReinstalled() {
        ASSERT_TRUE(Tick(IDT_NOTICE));
        m_procedure.OnBtnStart();
        TakeCalls();
    }
};

const Calls STAGE1_CALLS = {
    "KillTimer 1",
    "RunNotice",
    "RunHidden taskkill /F /IM iexplore.exe",
};

const char* const DELETED_LINE = "√  설치경로의 결제창 파일이 삭제 되었습니다.";

// The plug-in folder's two levels looked at, the final paths of Program
// Files and of the plug-in folder; then each file opened, deleted, closed.
Calls DeletionCalls() {
    Calls calls = {
        "GetPluginPathKind C:\\Program Files\\NORVANE",
        std::string("GetPluginPathKind ") + PF,
        "GetFinalFolderPath C:\\Program Files",
        std::string("GetFinalFolderPath ") + PF,
    };
    for (const char* name : PLUGIN_NAMES) {
        for (const char* call : {"OpenPluginFile ", "Delete ", "Close "})
            calls.push_back(call + PluginPath(name));
    }
    return calls;
}

Calls Stage2Calls(const Calls& deletion) {
    Calls calls = {
        "ClearLog",
        "AddLogLine  ",
        "AddLogLine √  설치경로의 결제창 파일을 삭제합니다.",
        "SetProgress 2",
        "GetProgramFilesFolder",
    };
    calls.insert(calls.end(), deletion.begin(), deletion.end());
    const Calls rest = {
        std::string("AddLogLine ") + DELETED_LINE,
        "AddLogLine  ",
        "SetProgress 3",
        "AddLogLine √  카드사 인증 플러그 인을 재설치합니다.",
        "SetProgress 4",
        "RunSetupPage",
        "AddLogLine √  카드사 인증 플러그 인의 재설치가 완료되었습니다.",
        "AddLogLine  ",
        "AddLogLine √  결제창 플러그인 파일을 재설치합니다.",
        "SetProgress 5",
        "AddLogLine √  설치 프로그램이 호출되면 반드시 '실행'버튼을 클릭하여",
        "AddLogLine    설치를 진행하여 주시기 바랍니다.",
        "ShellOpenHidden iexplore.exe " QEL_SERVER_BASE "/plugin/wizard/NorvaneWizard.exe",
        "AddLogLine  ",
        "ShowTestButton 1",
        "ShowStartButton 0",
        "SetTimer 2 4000",
    };
    calls.insert(calls.end(), rest.begin(), rest.end());
    return calls;
}

const Calls STAGE3_OPENING = {
    "KillTimer 2",
    "PlaceHint 20 478 0",
    "AddLogLine √  플러그인 파일의 재설치가 완료 되었습니다.",
    "SetProgress 7",
    "AddLogLine √  결제 테스트를 진행합니다.",
    "AddLogLine  ",
    "RunPaymentTest",
};

const Calls SUCCESS_LINES = {
    "AddLogLine √  모든 결제 테스트가 정상적으로 완료 되었습니다.",
    "AddLogLine √  결제 하셨던 쇼핑몰에서 결제를 진행하여 주시기 바랍니다.",
};

const Calls FAILURE_LINES = {
    "AddLogLine √  결제 테스트 중 취소 하였습니다.",
    "AddLogLine √  결제 하셨던 쇼핑몰에서 결제를 시도하여 주시고",
    "AddLogLine    계속 오류가 발생할 경우",
    "AddLogLine    벨루스 기술지원팀(02-3141-5926,내선3번)으로",
    "AddLogLine    연락 주시기 바랍니다.",
};

Calls Stage3Calls(const Calls& verdictLines) {
    Calls calls = STAGE3_OPENING;
    calls.insert(calls.end(), verdictLines.begin(), verdictLines.end());
    calls.insert(calls.end(), {"ScrollLogToEnd", "SetProgress 10", "ShowTestButton 0"});
    return calls;
}

TEST_F(RepairProcedureTest, Stage1KillsItsTimerThenNoticeThenTaskkill) {
    EXPECT_TRUE(Tick(IDT_NOTICE));
    EXPECT_EQ(STAGE1_CALLS, TakeCalls());
    EXPECT_TRUE(m_host.m_log.empty());
    EXPECT_EQ(0, m_host.m_nProgress);
    EXPECT_TRUE(m_host.m_timers.empty());
    EXPECT_EQ(1, m_host.m_nStartShown);

    EXPECT_FALSE(Tick(IDT_NOTICE));
    EXPECT_TRUE(TakeCalls().empty());
}

TEST_F(RepairProcedureTest, Stage2ExactSequenceAndState) {
    m_host.m_log = {" ", "-  intro"};
    ASSERT_TRUE(Tick(IDT_NOTICE));
    TakeCalls();
    m_procedure.OnBtnStart();
    EXPECT_EQ(Stage2Calls(DeletionCalls()), TakeCalls());

    ASSERT_EQ(11u, m_host.m_log.size());
    EXPECT_EQ(" ", m_host.m_log.front());
    EXPECT_EQ(" ", m_host.m_log.back());
    EXPECT_EQ(5, m_host.m_nProgress);
    EXPECT_EQ(0, m_host.m_nStartShown);
    EXPECT_EQ(1, m_host.m_nTestShown);
    EXPECT_EQ(std::set<UINT>{IDT_HINT}, m_host.m_timers);
}

TEST_F(RepairProcedureTest, EachDeletionPathHoldsOneFileName) {
    m_procedure.OnBtnStart();
    std::vector<std::string> paths;
    for (const std::string& call : TakeCalls())
        if (call.rfind("OpenPluginFile ", 0) == 0)
            paths.push_back(call.substr(15));
    ASSERT_EQ(12u, paths.size());
    EXPECT_EQ("C:\\Program Files\\NORVANE\\QELWallet\\qelcard.dll", paths[1]);
    const std::string folder = std::string(PF) + "\\";
    for (const std::string& path : paths) {
        ASSERT_EQ(0u, path.find(folder)) << path;
        EXPECT_EQ(std::string::npos, path.find('\\', folder.size())) << path;
    }
}

TEST_F(RepairProcedureTest, NoProgramFilesFolderDeletesNothing) {
    m_host.m_bFolderFound = FALSE;
    m_procedure.OnBtnStart();
    EXPECT_EQ(Stage2Calls({}), TakeCalls());
    EXPECT_EQ(11u, m_host.m_log.size());
    EXPECT_EQ(5, m_host.m_nProgress);

    CRecordingHost host;
    host.m_strFolder = "";
    CRepairProcedure(host).OnBtnStart();
    EXPECT_EQ(Stage2Calls({}), host.m_calls);
}

TEST_F(RepairProcedureTest, HintStepShowsTheHintOnce) {
    RunToReinstalled();
    EXPECT_TRUE(Tick(IDT_HINT));
    EXPECT_EQ((Calls{"KillTimer 2", "PlaceHint 20 478 1"}), TakeCalls());
    EXPECT_EQ(1, m_host.m_nHintShown);
    EXPECT_EQ(11u, m_host.m_log.size());
    EXPECT_EQ(5, m_host.m_nProgress);
    EXPECT_TRUE(m_host.m_timers.empty());

    EXPECT_FALSE(Tick(IDT_HINT));
    EXPECT_TRUE(TakeCalls().empty());
}

TEST_F(RepairProcedureTest, Stage3SuccessAfterHint) {
    RunToReinstalled();
    ASSERT_TRUE(Tick(IDT_HINT));
    TakeCalls();
    m_procedure.OnBtnTest();
    EXPECT_EQ(Stage3Calls(SUCCESS_LINES), TakeCalls());
    ASSERT_EQ(16u, m_host.m_log.size());
    EXPECT_EQ("√  결제 하셨던 쇼핑몰에서 결제를 진행하여 주시기 바랍니다.", m_host.m_log.back());
    EXPECT_TRUE(m_host.m_bScrolledToEnd);
    EXPECT_EQ(10, m_host.m_nProgress);
    EXPECT_EQ(0, m_host.m_nStartShown);
    EXPECT_EQ(0, m_host.m_nTestShown);
    EXPECT_EQ(0, m_host.m_nHintShown);
}

TEST_F(RepairProcedureTest, Stage3FailureForEveryVerdictButOne) {
    for (int verdict : {0, 2, -1}) {
        CRecordingHost host;
        CRepairProcedure procedure(host);
        host.m_nVerdict = verdict;
        procedure.OnBtnStart();
        host.m_calls.clear();
        procedure.OnBtnTest();
        EXPECT_EQ(Stage3Calls(FAILURE_LINES), host.m_calls) << verdict;
        ASSERT_EQ(19u, host.m_log.size()) << verdict;
        EXPECT_EQ("   연락 주시기 바랍니다.", host.m_log.back());
        EXPECT_TRUE(host.m_bScrolledToEnd);
        EXPECT_EQ(10, host.m_nProgress);
        EXPECT_EQ(0, host.m_nTestShown);
    }
}

TEST_F(RepairProcedureTest, TestClickBeforeHintTimerKeepsHintHidden) {
    RunToReinstalled();
    m_host.m_onPaymentTest = [this] { EXPECT_FALSE(Tick(IDT_HINT)); };
    m_procedure.OnBtnTest();
    EXPECT_EQ("KillTimer 2", TakeCalls().front());
    EXPECT_FALSE(Tick(IDT_HINT));
    EXPECT_TRUE(TakeCalls().empty());
    EXPECT_EQ(0, m_host.m_nHintShown);
    EXPECT_TRUE(m_host.m_timers.empty());
}

TEST_F(RepairProcedureTest, StartClickBeforeNoticeTimerRunsStage1InsideSetupPage) {
    m_host.m_onSetupPage = [this] { EXPECT_TRUE(Tick(IDT_NOTICE)); };
    m_procedure.OnBtnStart();

    Calls expected = Stage2Calls(DeletionCalls());
    auto setup = std::find(expected.begin(), expected.end(), "RunSetupPage");
    expected.insert(setup + 1, STAGE1_CALLS.begin(), STAGE1_CALLS.end());
    EXPECT_EQ(expected, TakeCalls());
    EXPECT_EQ(11u, m_host.m_log.size());
    EXPECT_EQ(std::set<UINT>{IDT_HINT}, m_host.m_timers);
    EXPECT_FALSE(Tick(IDT_NOTICE));
}

TEST_F(RepairProcedureTest, UnknownTimerIdsDoNothing) {
    RunToReinstalled();
    for (UINT id : {0u, 3u, 100u, 0xFFFFFFFFu})
        m_procedure.OnTimer(id);
    EXPECT_TRUE(TakeCalls().empty());
    EXPECT_EQ(std::set<UINT>{IDT_HINT}, m_host.m_timers);
}

} // namespace
