// Stage 2's deletion: what is deleted, what is left alone and reported, and
// that nothing reached through a link is changed.
#include "tests/unit/RecordingHost.h"
#include "wizard/RepairProcedure.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const char* const DELETED_LINE = "√  설치경로의 결제창 파일이 삭제 되었습니다.";
const char* const PARTLY_LINE = "√  설치경로의 결제창 파일 일부를 삭제하지 못했습니다.";
const std::string NORVANE = "C:\\Program Files\\NORVANE";
const std::string CARD = PluginPath("qelcard.dll");
const std::string PAY = PluginPath("qelpay.dll");
const std::set<std::string> NONE_LEFT;
const std::set<std::string> ALL_LEFT(PLUGIN_NAMES, PLUGIN_NAMES + 12);

// The plug-in files still there.
std::set<std::string> Left(const CRecordingHost& host) {
    std::set<std::string> left;
    for (const char* name : PLUGIN_NAMES)
        if (host.m_paths.count(PluginPath(name)))
            left.insert(name);
    return left;
}

// Calls that change a file: its attributes or its existence.
Calls Changes(const CRecordingHost& host, const std::string& path) {
    Calls changes;
    for (const std::string& call : host.m_calls) {
        const bool bChange = call.rfind("SetAttributes ", 0) == 0 ||
                             call.rfind("Delete ", 0) == 0 ||
                             call.rfind("ClearPluginFileAttributes ", 0) == 0 ||
                             call.rfind("DeletePluginFile ", 0) == 0;
        if (bChange && call.find(path) != std::string::npos)
            changes.push_back(call);
    }
    return changes;
}

size_t CountCalls(const CRecordingHost& host, const std::string& prefix) {
    return static_cast<size_t>(
        std::count_if(host.m_calls.begin(), host.m_calls.end(),
                      [&](const std::string& call) { return call.rfind(prefix, 0) == 0; }));
}

// The second line says whether a plug-in file is left; a name that is a
// link, a folder, a second name or leads out of the folder is not touched,
// and a folder reached through a link, or whose final path cannot be had,
// is refused whole.
TEST(PluginDeletionTest, Stage2LeavesAloneWhatCouldLeadElsewhereAndSaysSo) {
    struct SCase {
        const char* name;
        std::function<void(CRecordingHost&)> arrange;
        const char* line;
        std::set<std::string> left;
    };
    const SCase cases[] = {
        {"all deleted", [](CRecordingHost&) {}, DELETED_LINE, NONE_LEFT},
        {"all absent",
         [](CRecordingHost& h) {
             for (const char* name : PLUGIN_NAMES)
                 h.m_paths.erase(PluginPath(name));
         },
         DELETED_LINE, NONE_LEFT},
        {"no plug-in folder", [](CRecordingHost& h) { h.m_paths.erase(PF); }, DELETED_LINE,
         ALL_LEFT},
        {"one held",
         [](CRecordingHost& h) { h.m_held.insert(CARD); },
         PARTLY_LINE,
         {"qelcard.dll"}},
        {"one a folder",
         [](CRecordingHost& h) { h.m_paths[CARD] = PLUGIN_PATH_FOLDER; },
         PARTLY_LINE,
         {"qelcard.dll"}},
        {"one a reparse point",
         [](CRecordingHost& h) { h.m_paths[CARD] = PLUGIN_PATH_OTHER; },
         PARTLY_LINE,
         {"qelcard.dll"}},
        {"one leads out of the folder",
         [](CRecordingHost& h) {
             h.m_leadsTo[CARD] = "C:\\outside.dll";
             h.m_attributes[CARD] = 0x21;
         },
         PARTLY_LINE,
         {"qelcard.dll"}},
        {"one leads to another file of the folder",
         [](CRecordingHost& h) { h.m_leadsTo[CARD] = std::string(PF) + "\\keep.txt"; },
         PARTLY_LINE,
         {"qelcard.dll"}},
        {"one with a second name",
         [](CRecordingHost& h) {
             h.m_links[CARD] = 2;
             h.m_attributes[CARD] = 0x01;
         },
         PARTLY_LINE,
         {"qelcard.dll"}},
        {"the plug-in folder a junction",
         [](CRecordingHost& h) { h.m_paths[PF] = PLUGIN_PATH_OTHER; }, PARTLY_LINE, ALL_LEFT},
        {"NORVANE a junction", [](CRecordingHost& h) { h.m_paths[NORVANE] = PLUGIN_PATH_OTHER; },
         PARTLY_LINE, ALL_LEFT},
        {"NORVANE leads elsewhere as a plain folder",
         [](CRecordingHost& h) { h.m_leadsTo[NORVANE] = "C:\\Users\\Public"; }, PARTLY_LINE,
         ALL_LEFT},
        {"the plug-in folder's final path not to be had",
         [](CRecordingHost& h) { h.m_unnamed.insert(PF); }, PARTLY_LINE, ALL_LEFT},
        {"Program Files' final path not to be had",
         [](CRecordingHost& h) { h.m_unnamed.insert("C:\\Program Files"); }, PARTLY_LINE, ALL_LEFT},
        {"Program Files moved to another drive",
         [](CRecordingHost& h) { h.m_leadsTo["C:\\Program Files"] = "D:\\Programs"; }, DELETED_LINE,
         NONE_LEFT},
        {"names in another case",
         [](CRecordingHost& h) { h.m_leadsTo[PF] = "C:\\PROGRAM FILES\\norvane\\qelwallet"; },
         DELETED_LINE, NONE_LEFT},
    };
    for (const SCase& c : cases) {
        CRecordingHost host;
        c.arrange(host);
        CRepairProcedure(host).OnBtnStart();
        ASSERT_EQ(11u, host.m_log.size()) << c.name;
        EXPECT_EQ(c.line, host.m_log[2]) << c.name;
        EXPECT_EQ(5, host.m_nProgress) << c.name;
        EXPECT_EQ(c.left, Left(host)) << c.name;
        for (const std::string& name : c.left)
            EXPECT_EQ(Calls(), Changes(host, PluginPath(name.c_str()))) << c.name;
        EXPECT_EQ(0, host.m_nOpen) << c.name << ": files left open";
    }
}

// Read-only, hidden and system come off through the open file before its
// deletion; a file the system will not delete gets its attributes back.
TEST(PluginDeletionTest, AttributesClearedThroughTheOpenFileAndRestoredWhenKept) {
    CRecordingHost host;
    host.m_attributes[PAY] = 0x27;
    host.m_attributes[CARD] = 0x01;
    host.m_undeletable.insert(CARD);
    CRepairProcedure(host).OnBtnStart();
    EXPECT_EQ(PARTLY_LINE, host.m_log[2]);
    EXPECT_EQ((Calls{"SetAttributes " + PAY + " 0x20", "Delete " + PAY}), Changes(host, PAY));
    EXPECT_EQ((Calls{"SetAttributes " + CARD + " 0x80", "Delete " + CARD,
                     "SetAttributes " + CARD + " 0x1"}),
              Changes(host, CARD));
    EXPECT_EQ(std::set<std::string>{"qelcard.dll"}, Left(host));
    EXPECT_EQ(0x01u, host.m_attributes.at(CARD));
    EXPECT_EQ(0, host.m_nOpen);
}

// Without the handle calls the files go by name, each looked at first; a
// reparse point or folder is left alone, as is a folder behind a junction.
TEST(PluginDeletionTest, WithoutHandleCallsByNameAfterAnAttributeCheck) {
    CRecordingHost host;
    host.m_bHandleCalls = FALSE;
    host.m_paths[CARD] = PLUGIN_PATH_OTHER;
    CRepairProcedure(host).OnBtnStart();
    EXPECT_EQ(PARTLY_LINE, host.m_log[2]);
    EXPECT_EQ(std::set<std::string>{"qelcard.dll"}, Left(host));
    EXPECT_EQ(Calls(), Changes(host, CARD));
    EXPECT_EQ((Calls{"ClearPluginFileAttributes " + PAY, "DeletePluginFile " + PAY}),
              Changes(host, PAY));
    EXPECT_EQ(0u, CountCalls(host, "OpenPluginFile "));

    CRecordingHost plain;
    plain.m_bHandleCalls = FALSE;
    CRepairProcedure(plain).OnBtnStart();
    EXPECT_EQ(DELETED_LINE, plain.m_log[2]);
    EXPECT_EQ(NONE_LEFT, Left(plain));

    CRecordingHost junction;
    junction.m_bHandleCalls = FALSE;
    junction.m_paths[NORVANE] = PLUGIN_PATH_OTHER;
    CRepairProcedure(junction).OnBtnStart();
    EXPECT_EQ(PARTLY_LINE, junction.m_log[2]);
    EXPECT_EQ(ALL_LEFT, Left(junction));
}

} // namespace
