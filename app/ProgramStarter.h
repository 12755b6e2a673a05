// CProgramStarter: starts the programs the wizard runs by their full paths,
// from where the system keeps them. The wizard runs elevated, often from a
// downloads folder that a web page can drop files into, so nothing is taken
// from its own or the current folder, and each program starts in the system
// folder, not in the wizard's current one.
#pragma once

#include "framework/String.h"

class CProgramStarter {
public:
    // Runs the command line hidden and does not wait for it. Its program, the
    // command line's first word (".exe" added), comes from the system folder.
    // phProcess, when given, receives the process handle for the caller to close.
    static BOOL RunHidden(LPCTSTR commandLine, HANDLE* phProcess = nullptr);
    // ShellExecuteA "open", hidden, on the browser found by FindBrowser;
    // starts nothing when it is not found.
    static BOOL ShellOpenHidden(LPCTSTR file, LPCTSTR parameters);
    // The browser's full path: its App Paths registration, else the Program
    // Files folder's "Internet Explorer" folder; empty when neither names an
    // existing file.
    static CString FindBrowser(LPCTSTR file);
};
