#include "framework/HostKeys.h"

#include <cstring>

namespace {

// Virtual-key codes, as Windows numbers them.
const UINT kVkLeft = 0x25, kVkRight = 0x27, kVkHome = 0x24;
const UINT kVkF1 = 0x70, kVkF24 = 0x87;
const UINT kVkBrowserFirst = 0xA6, kVkBrowserLast = 0xAC; // back .. home

// Ctrl with a letter is a browser command but for the editing letters:
// select all, copy, paste, cut, redo, undo.
const char kEditingLetters[] = "ACVXYZ";
// Function keys a form never needs: help, find, address, refresh, focus to
// the address, caret browsing, full screen, developer tools.
const UINT kCommandFunctionKeys[] = {1, 3, 4, 5, 6, 7, 11, 12};

BOOL IsCommandFunctionKey(UINT nVirtKey, UINT nModifiers) {
    // Alt+F4 closes the window that holds the control, as elsewhere.
    if (nVirtKey == kVkF1 + 3 && (nModifiers & CHostKeys::ALT))
        return FALSE;
    for (UINT n : kCommandFunctionKeys) {
        if (nVirtKey == kVkF1 + n - 1)
            return TRUE;
    }
    return FALSE;
}

} // namespace

BOOL CHostKeys::IsBrowserCommand(UINT nVirtKey, UINT nModifiers) {
    if (nVirtKey >= kVkBrowserFirst && nVirtKey <= kVkBrowserLast)
        return TRUE;
    if (nVirtKey >= kVkF1 && nVirtKey <= kVkF24)
        return IsCommandFunctionKey(nVirtKey, nModifiers);
    const UINT nCtrlAlt = nModifiers & (CTRL | ALT);
    // Ctrl+Alt is AltGr on many keyboards, which types characters.
    if (nCtrlAlt == CTRL && nVirtKey >= 'A' && nVirtKey <= 'Z')
        return std::strchr(kEditingLetters, static_cast<int>(nVirtKey)) == nullptr;
    // Back, forward, home, and Alt+D to the address.
    if (nCtrlAlt == ALT)
        return nVirtKey == kVkLeft || nVirtKey == kVkRight || nVirtKey == kVkHome ||
               nVirtKey == 'D';
    return FALSE;
}
