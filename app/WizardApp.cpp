#include "app/WizardApp.h"

#include "app/WizardDlg.h"
#include "web/BrowserFeatures.h"

CWizardApp theApp;

BEGIN_MESSAGE_MAP(CWizardApp, CWinApp)
ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

CWizardApp::CWizardApp() : CWinApp(nullptr) {}

CWizardApp::~CWizardApp() = default;

BOOL CWizardApp::InitInstance() {
    AfxEnableControlContainer(nullptr);
    // Before any page dialog creates its browser control.
    CBrowserFeatures::EnableForProcess();
    Enable3dControls();

    CWizardDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
