// The platform operations the repair procedure needs. The wizard dialog
// implements them with Win32 calls; tests implement them with a recorder.
#pragma once

#include "framework/String.h"

// What a plug-in path names, as the file system answers for it.
enum PluginPathKind {
    PLUGIN_PATH_NONE,   // nothing by that name
    PLUGIN_PATH_FILE,   // a file that is no reparse point
    PLUGIN_PATH_FOLDER, // a folder that is no reparse point
    PLUGIN_PATH_OTHER   // a reparse point, or something whose attributes cannot be read
};

class IRepairHost {
public:
    virtual ~IRepairHost() = default;

    virtual void ClearLog() = 0;               // LB_RESETCONTENT
    virtual void AddLogLine(LPCTSTR text) = 0; // LB_ADDSTRING
    virtual void ScrollLogToEnd() = 0;         // WM_VSCROLL, SB_BOTTOM
    virtual void SetProgress(int pos) = 0;     // PBM_SETPOS
    // Program Files folder without a trailing backslash; FALSE when it
    // cannot be determined or comes back empty.
    virtual BOOL GetProgramFilesFolder(CString& folder) = 0;
    virtual PluginPathKind GetPluginPathKind(LPCTSTR path) = 0; // GetFileAttributesA
    // Takes the read-only, hidden and system attributes off a file that has
    // no other name and is no reparse point; leaves anything else alone.
    virtual void ClearPluginFileAttributes(LPCTSTR path) = 0; // SetFileAttributesA
    virtual BOOL DeletePluginFile(LPCTSTR path) = 0;          // DeleteFileA
    // Hidden, not awaited; the program from the system folder.
    virtual void RunHidden(LPCTSTR commandLine) = 0;
    // ShellExecuteA "open", hidden; the file from its registered location.
    virtual void ShellOpenHidden(LPCTSTR file, LPCTSTR parameters) = 0;
    virtual void SetTimer(UINT id, UINT elapse) = 0;
    virtual void KillTimer(UINT id) = 0;
    virtual void ShowStartButton(int nShow) = 0;
    virtual void ShowTestButton(int nShow) = 0;
    virtual void PlaceHint(int x, int y, int show) = 0;
    virtual void RunNotice() = 0;     // notice dialog, modal
    virtual void RunSetupPage() = 0;  // setup page dialog, modal
    virtual int RunPaymentTest() = 0; // 1 success, anything else failure
};
