// Resources of the Wine tests' own dialogs.
#pragma once

#define IDD_TEST_DIALOG 900
#define IDC_TEST_CLICK 901
#define IDC_TEST_LIST 902
#define IDC_TEST_PICTURE 903

// A dialog hosting the fake control, with a state the control refuses.
#define IDD_TEST_HOST 910
#define IDC_TEST_FAKE 911

// Two fake controls, for a creation that fails after one has been made.
#define IDD_TEST_HOST2 912
#define IDC_TEST_FAKE2 913
