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

// How a folder's final path came out.
enum FinalPathResult {
    FINAL_PATH_FOUND,
    FINAL_PATH_UNSUPPORTED, // the system lacks the handle calls (Windows XP)
    FINAL_PATH_FAILED       // the folder could not be opened or named
};

// A plug-in file opened by the host once, without following links; every
// operation acts on that open file. Deleting the object closes it.
class IPluginFile {
public:
    virtual ~IPluginFile() = default;

    // The name itself: FILE, FOLDER, or OTHER for a reparse point.
    virtual PluginPathKind GetKind() = 0;
    // Where the open file really is, in the form of the host's folder final
    // paths; empty when it cannot be told.
    virtual CString GetFinalPath() = 0;
    virtual DWORD GetLinkCount() = 0;
    virtual DWORD GetAttributes() = 0;
    virtual BOOL SetAttributes(DWORD dwAttributes) = 0; // FileBasicInfo
    // Marks the file for deletion; it goes when the object is deleted.
    virtual BOOL Delete() = 0; // FileDispositionInfo
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
    // The folder's final path from a handle on it (GetFinalPathNameByHandleW).
    virtual FinalPathResult GetFinalFolderPath(LPCTSTR folder, CString& finalPath) = 0;
    // Null when nothing can be opened by that name (absent, held, refused).
    virtual IPluginFile* OpenPluginFile(LPCTSTR path) = 0;
    // Path calls, where the system lacks the handle calls: takes the
    // read-only, hidden and system attributes off a file that has no other
    // name and is no reparse point, and deletes by name.
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
