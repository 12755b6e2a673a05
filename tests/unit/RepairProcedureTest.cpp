#include "wizard/RepairProcedure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

typedef std::vector<std::string> Calls;

const char* const PF = "C:\\Program Files\\NORVANE\\QELWallet";
const char* const PLUGIN_NAMES[] = {
    "qelpay.dll", "qelcard.dll",   "qelcert.dll",     "qelnet.dll",
    "qelupd.dll", "vaultlib2.dll", "dirlook32.dll",   "cs_aud.dll",
    "cs_api.dll", "cshsmkey.dll",  "certkit_ioc.dll", "qelmark.bmp",
};

std::string PluginPath(const char* name) {
    return std::string(PF) + "\\" + name;
}

// Records every host call in order and keeps the state the controls and
// timers would show: log lines, progress, visibility, pending timers.
class CRecordingHost : public IRepairHost {
public:
    Calls m_calls;
    std::vector<std::string> m_log;
    int m_nProgress = 0;
    int m_nStartShown = 1;
    int m_nTestShown = 0;
    int m_nHintShown = 0;
    bool m_bScrolledToEnd = false;
    std::set<UINT> m_timers;
    BOOL m_bFolderFound = TRUE;
    CString m_strFolder = "C:\\Program Files";
    // What each path names; a path not listed names nothing. A deletion
    // takes away a file or link unless it is held.
    std::map<std::string, PluginPathKind> m_paths;
    std::set<std::string> m_held;
    int m_nVerdict = 1;
    std::function<void()> m_onSetupPage;
    std::function<void()> m_onPaymentTest;

    CRecordingHost() {
        m_paths["C:\\Program Files\\NORVANE"] = PLUGIN_PATH_FOLDER;
        m_paths[PF] = PLUGIN_PATH_FOLDER;
        for (const char* name : PLUGIN_NAMES)
            m_paths[PluginPath(name)] = PLUGIN_PATH_FILE;
    }

    void ClearLog() override {
        Record("ClearLog");
        m_log.clear();
    }
    void AddLogLine(LPCTSTR text) override {
        Record(std::string("AddLogLine ") + text);
        m_log.push_back(text);
        m_bScrolledToEnd = false;
    }
    void ScrollLogToEnd() override {
        Record("ScrollLogToEnd");
        m_bScrolledToEnd = true;
    }
    void SetProgress(int pos) override {
        Record("SetProgress " + std::to_string(pos));
        m_nProgress = pos;
    }
    BOOL GetProgramFilesFolder(CString& folder) override {
        Record("GetProgramFilesFolder");
        if (m_bFolderFound)
            folder = m_strFolder;
        return m_bFolderFound;
    }
    PluginPathKind GetPluginPathKind(LPCTSTR path) override {
        Record(std::string("GetPluginPathKind ") + path);
        auto it = m_paths.find(path);
        return it == m_paths.end() ? PLUGIN_PATH_NONE : it->second;
    }
    void ClearPluginFileAttributes(LPCTSTR path) override {
        Record(std::string("ClearPluginFileAttributes ") + path);
    }
    BOOL DeletePluginFile(LPCTSTR path) override {
        Record(std::string("DeletePluginFile ") + path);
        auto it = m_paths.find(path);
        if (it == m_paths.end() || it->second == PLUGIN_PATH_FOLDER || m_held.count(path))
            return FALSE;
        m_paths.erase(it);
        return TRUE;
    }
    void RunHidden(LPCTSTR commandLine) override {
        Record(std::string("RunHidden ") + commandLine);
    }
    void ShellOpenHidden(LPCTSTR file, LPCTSTR parameters) override {
        Record(std::string("ShellOpenHidden ") + file + " " + parameters);
    }
    void SetTimer(UINT id, UINT elapse) override {
        Record("SetTimer " + std::to_string(id) + " " + std::to_string(elapse));
        m_timers.insert(id);
    }
    void KillTimer(UINT id) override {
        Record("KillTimer " + std::to_string(id));
        m_timers.erase(id);
    }
    void ShowStartButton(int nShow) override {
        Record("ShowStartButton " + std::to_string(nShow));
        m_nStartShown = nShow;
    }
    void ShowTestButton(int nShow) override {
        Record("ShowTestButton " + std::to_string(nShow));
        m_nTestShown = nShow;
    }
    void PlaceHint(int x, int y, int show) override {
        Record("PlaceHint " + std::to_string(x) + " " + std::to_string(y) + " " +
               std::to_string(show));
        m_nHintShown = show == 1;
    }
    void RunNotice() override { Record("RunNotice"); }
    void RunSetupPage() override {
        Record("RunSetupPage");
        if (m_onSetupPage)
            m_onSetupPage();
    }
    int RunPaymentTest() override {
        Record("RunPaymentTest");
        if (m_onPaymentTest)
            m_onPaymentTest();
        return m_nVerdict;
    }

    void Record(const std::string& call) { m_calls.push_back(call); }
};

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
const char* const PARTLY_LINE = "√  설치경로의 결제창 파일 일부를 삭제하지 못했습니다.";

// The plug-in folder's two levels looked at; then each file looked at, freed
// of its attributes, deleted and looked at again.
Calls DeletionCalls() {
    Calls calls = {
        "GetPluginPathKind C:\\Program Files\\NORVANE",
        std::string("GetPluginPathKind ") + PF,
    };
    for (const char* name : PLUGIN_NAMES) {
        for (const char* call : {"GetPluginPathKind ", "ClearPluginFileAttributes ",
                                 "DeletePluginFile ", "GetPluginPathKind "})
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
        if (call.rfind("DeletePluginFile ", 0) == 0)
            paths.push_back(call.substr(17));
    ASSERT_EQ(12u, paths.size());
    EXPECT_EQ("C:\\Program Files\\NORVANE\\QELWallet\\qelcard.dll", paths[1]);
    const std::string folder = std::string(PF) + "\\";
    for (const std::string& path : paths) {
        ASSERT_EQ(0u, path.find(folder)) << path;
        EXPECT_EQ(std::string::npos, path.find('\\', folder.size())) << path;
    }
}

// The second line says whether a plug-in file is left; only plain files
// are freed of their attributes, and a folder by a file's name is left alone.
TEST_F(RepairProcedureTest, Stage2SaysWhetherAPluginFileIsLeft) {
    const std::string card = PluginPath("qelcard.dll");
    struct SCase {
        const char* name;
        std::function<void(CRecordingHost&)> arrange;
        const char* line;
        size_t nCleared;
        size_t nDeleteCalls;
    };
    const SCase cases[] = {
        {"all deleted", [](CRecordingHost&) {}, DELETED_LINE, 12, 12},
        {"all absent",
         [](CRecordingHost& h) {
             for (const char* name : PLUGIN_NAMES)
                 h.m_paths.erase(PluginPath(name));
         },
         DELETED_LINE, 0, 0},
        {"one still there", [&](CRecordingHost& h) { h.m_held.insert(card); }, PARTLY_LINE, 12, 12},
        {"one a directory", [&](CRecordingHost& h) { h.m_paths[card] = PLUGIN_PATH_FOLDER; },
         DELETED_LINE, 11, 11},
        {"a link kept",
         [&](CRecordingHost& h) {
             h.m_paths[card] = PLUGIN_PATH_OTHER;
             h.m_held.insert(card);
         },
         PARTLY_LINE, 11, 12},
        {"plug-in folder a link", [](CRecordingHost& h) { h.m_paths[PF] = PLUGIN_PATH_OTHER; },
         DELETED_LINE, 0, 12},
    };
    for (const SCase& c : cases) {
        CRecordingHost host;
        c.arrange(host);
        const std::map<std::string, PluginPathKind> before = host.m_paths;
        CRepairProcedure(host).OnBtnStart();
        ASSERT_EQ(11u, host.m_log.size()) << c.name;
        EXPECT_EQ(c.line, host.m_log[2]) << c.name;
        EXPECT_EQ(5, host.m_nProgress) << c.name;
        auto count = [&](const std::string& call) {
            return static_cast<size_t>(
                std::count_if(host.m_calls.begin(), host.m_calls.end(),
                              [&](const std::string& s) { return s.rfind(call, 0) == 0; }));
        };
        EXPECT_EQ(c.nCleared, count("ClearPluginFileAttributes ")) << c.name;
        EXPECT_EQ(c.nDeleteCalls, count("DeletePluginFile ")) << c.name;
        if (before.count(card) != 0 && before.at(card) == PLUGIN_PATH_FOLDER) {
            EXPECT_EQ(0u, count("DeletePluginFile " + card)) << c.name;
        }
        // Every file but a held one is gone; nothing else was touched.
        for (const auto& entry : before) {
            const bool bFile = entry.second != PLUGIN_PATH_FOLDER;
            const bool bPlugin = entry.first.rfind(std::string(PF) + "\\", 0) == 0;
            EXPECT_EQ(!(bFile && bPlugin) || host.m_held.count(entry.first) != 0,
                      host.m_paths.count(entry.first) != 0)
                << c.name << " " << entry.first;
        }
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
