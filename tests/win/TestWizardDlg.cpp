#include "tests/win/TestWizardDlg.h"

void PressOkOfNextDialog(HWND hWndWizard, bool* pSeen) {
    PostToModalLoop([hWndWizard, pSeen] {
        HWND hDlg = FindOwnedDialog(hWndWizard);
        *pSeen = hDlg != nullptr && !::IsWindowEnabled(hWndWizard);
        HWND hOk = hDlg ? ::GetDlgItem(hDlg, IDC_BTN_OK) : nullptr;
        if (hOk != nullptr)
            ::SendMessageA(hOk, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        else if (hDlg != nullptr)
            ::SendMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
    });
}
