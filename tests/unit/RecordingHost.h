// CRecordingHost: the repair procedure's host for the unit tests. Records
// every call in order and keeps what the controls, timers and plug-in files
// would show. A path not in m_paths names nothing.
#pragma once

#include "wizard/RepairHost.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

typedef std::vector<std::string> Calls;

extern const char* const PF; // the plug-in folder under "C:\Program Files"
extern const char* const PLUGIN_NAMES[12];
std::string PluginPath(const char* name);

class CRecordingHost : public IRepairHost {
public:
    CRecordingHost();

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
    // What each path names. A held path cannot be opened or deleted.
    std::map<std::string, PluginPathKind> m_paths;
    std::set<std::string> m_held;
    // Where a path and everything below it really is (a link, a junction);
    // other paths are where they are named.
    std::map<std::string, std::string> m_leadsTo;
    std::map<std::string, DWORD> m_links;      // 1 unless listed
    std::map<std::string, DWORD> m_attributes; // 0x20 unless listed
    std::set<std::string> m_undeletable;       // opened, but refuse deletion
    std::set<std::string> m_unnamed;           // folders whose final path fails
    BOOL m_bHandleCalls = TRUE;                // FALSE: Windows XP
    int m_nOpen = 0;                           // plug-in files open
    int m_nVerdict = 1;
    std::function<void()> m_onSetupPage;
    std::function<void()> m_onPaymentTest;

    std::string FinalPath(const std::string& path) const;

    void ClearLog() override;
    void AddLogLine(LPCTSTR text) override;
    void ScrollLogToEnd() override;
    void SetProgress(int pos) override;
    BOOL GetProgramFilesFolder(CString& folder) override;
    PluginPathKind GetPluginPathKind(LPCTSTR path) override;
    FinalPathResult GetFinalFolderPath(LPCTSTR folder, CString& finalPath) override;
    IPluginFile* OpenPluginFile(LPCTSTR path) override;
    void ClearPluginFileAttributes(LPCTSTR path) override;
    BOOL DeletePluginFile(LPCTSTR path) override;
    void RunHidden(LPCTSTR commandLine) override;
    void ShellOpenHidden(LPCTSTR file, LPCTSTR parameters) override;
    void SetTimer(UINT id, UINT elapse) override;
    void KillTimer(UINT id) override;
    void ShowStartButton(int nShow) override;
    void ShowTestButton(int nShow) override;
    void PlaceHint(int x, int y, int show) override;
    void RunNotice() override;
    void RunSetupPage() override;
    int RunPaymentTest() override;

    void Record(const std::string& call) { m_calls.push_back(call); }
};
