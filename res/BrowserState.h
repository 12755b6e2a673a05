// WebBrowser control state (WM_OCC_LOADFROMSTREAM, 160 bytes): the stream
// the control saves for its default settings, here with a design-time extent
// of 1402 x 1191 HIMETRIC in the third and fourth DWORDs. It holds the
// control's own 76-byte block (folder view VID_LargeIcons), an empty
// shell-link header (CLSID_ShellLink, SW_SHOWNORMAL) and zero padding.
// Shared by QelPluginWizard.rc (the DLGINIT data) and the code, where the
// layout below is checked against the words at build time.
#pragma once

#define QEL_BROWSER_STATE_SIZE 160

// clang-format off
#define QEL_BROWSER_STATE_WORDS \
    0x0000, 0x0000, 0x004C, 0x0000, 0x057A, 0x0000, 0x04A7, 0x0000, \
    0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, \
    0x0000, 0x0000, 0x0000, 0x0000, 0x004C, 0x0000, 0x0000, 0x0000, \
    0x0000, 0x0000, 0x0001, 0x0000, 0xD0E0, 0x0057, 0x3573, 0x11CF, \
    0x69AE, 0x0008, 0x2E2B, 0x6212, 0x0008, 0x0000, 0x0000, 0x0000, \
    0x004C, 0x0000, 0x1401, 0x0002, 0x0000, 0x0000, 0x00C0, 0x0000, \
    0x0000, 0x4600, 0x0080, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, \
    0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, \
    0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0001, 0x0000, \
    0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000
// clang-format on

#ifndef RC_INVOKED
#include "framework/WinTypes.h"

#include <cstddef>

// The stream as the control reads it: a leading DWORD, its own block and a
// shell-link header, each block opening with its size, then padding.
struct CBrowserState {
    DWORD dwLead;
    DWORD cbControl; // the control's block starts here
    DWORD cxExtent, cyExtent;
    BYTE control[76 - 3 * sizeof(DWORD)];
    DWORD cbShellLink; // the shell-link header starts here
    BYTE shellLink[76 - sizeof(DWORD)];
    DWORD dwPadding;
};

namespace QelBrowserState {
constexpr WORD kWords[] = {QEL_BROWSER_STATE_WORDS};
constexpr DWORD At(size_t nOffset) {
    return kWords[nOffset / 2] | static_cast<DWORD>(kWords[nOffset / 2 + 1]) << 16;
}
} // namespace QelBrowserState

static_assert(sizeof(CBrowserState) == QEL_BROWSER_STATE_SIZE, "the declared length");
static_assert(sizeof(QelBrowserState::kWords) == QEL_BROWSER_STATE_SIZE, "the data's length");
static_assert(offsetof(CBrowserState, cbControl) == 4 && offsetof(CBrowserState, cbShellLink) == 80,
              "the blocks' places");
static_assert(QelBrowserState::At(offsetof(CBrowserState, cbControl)) ==
                      offsetof(CBrowserState, cbShellLink) - offsetof(CBrowserState, cbControl) &&
                  QelBrowserState::At(offsetof(CBrowserState, cbShellLink)) ==
                      offsetof(CBrowserState, dwPadding) - offsetof(CBrowserState, cbShellLink),
              "each block opens with its size");
static_assert(QelBrowserState::At(offsetof(CBrowserState, cxExtent)) == 1402 &&
                  QelBrowserState::At(offsetof(CBrowserState, cyExtent)) == 1191,
              "the extent the dialogs' browser rectangles were drawn with");
#endif
