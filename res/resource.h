// Resource identifiers of QelPluginWizard.exe, shared by the resource script
// and the code.
#pragma once

// Dialog templates
#define IDD_ABOUTBOX 100
#define IDD_WIZARD 102
#define IDD_SETUP_PAGE 129
#define IDD_NOTICE 131
#define IDD_PAYTEST 132

// Icon group
#define IDR_MAINFRAME 128

// Bitmaps
#define IDB_BG_PAYTEST 134
#define IDB_BG_NOTICE 135
#define IDB_BTN_OK 137
#define IDB_BG_WIZARD 138
#define IDB_BTN_CLOSE 139
#define IDB_BTN_NEXT 140
#define IDB_BG_SETUP 141
#define IDB_EMBLEM 146
#define IDB_HINT 147

// Strings: the about item's text would be 101; the table holds none.
#define IDS_ABOUTBOX 101

// System-menu command
#define IDM_ABOUTBOX 0x0010

// Controls
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
#define IDC_BTN_OK 1000
#define IDC_BTN_START 1001
#define IDC_PROGRESS 1002
#define IDC_BTN_CANCEL 1003
#define IDC_BTN_TEST 1004
#define IDC_LOG 1008
#define IDC_BROWSER_PAYTEST 9041
#define IDC_BROWSER_SETUP 9042
#define IDC_HINT 9193
