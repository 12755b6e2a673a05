// Addresses on the wizard server. QEL_SERVER_BASE (no trailing slash) is set
// at build time.
#pragma once

#ifndef QEL_SERVER_BASE
#error "QEL_SERVER_BASE must be defined by the build"
#endif

#define WIZARD_URL_SETUP QEL_SERVER_BASE "/plugin/wizard/wizard_setup.html"
#define WIZARD_URL_PAYTEST QEL_SERVER_BASE "/plugin/wizard/QEL_pay_wizard.html"
#define WIZARD_URL_INSTALLER QEL_SERVER_BASE "/plugin/wizard/NorvaneWizard.exe"
