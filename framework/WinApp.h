// CWinApp: the one application object; WinMain runs its InitInstance.
#pragma once

#include "framework/Wnd.h"

#ifndef ID_HELP
#define ID_HELP 0xE146
#endif

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // Runs the main window's message loop until WM_QUIT.
    virtual int Run();

    // Kept for source compatibility: control shading is the system's own
    // now, so this only reports success.
    BOOL Enable3dControls() { return TRUE; }
    void OnHelp() {}

    LPCTSTR m_pszAppName;
    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType);

// The resource type of a dialog's control-initialisation data.
#ifndef RT_DLGINIT
#define RT_DLGINIT MAKEINTRESOURCEA(240)
#endif
// Lets dialogs host ActiveX controls: initialises OLE on this thread once.
BOOL AfxEnableControlContainer(void* pOccManager = nullptr);
// Runs the application: called from WinMain.
int AfxWinMain(HINSTANCE hInstance);
