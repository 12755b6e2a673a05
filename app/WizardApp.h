// CWizardApp: runs the wizard dialog modally; the program ends with it.
#pragma once

#include "framework/WinApp.h"

class CWizardApp : public CWinApp {
public:
    CWizardApp();
    ~CWizardApp() override;

    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};

extern CWizardApp theApp;
