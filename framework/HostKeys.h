// The keys a hosted browser control turns into browser commands (new window,
// open, save, print, find, refresh, address, full screen, back and forward,
// help, favourites). A host that shows untrusted pages swallows these and
// passes every other key, so that forms stay usable: typing, editing keys,
// Tab, Enter, the clipboard and undo. Backspace is passed: it deletes in an
// edit field, and the control goes back on it only outside one.
#pragma once

#include "framework/WinTypes.h"

class CHostKeys {
public:
    // Modifier bits of a key press.
    enum { CTRL = 1, ALT = 2, SHIFT = 4 };

    // TRUE when the key (virtual-key code, pressed with nModifiers) is one
    // of the browser's own commands.
    static BOOL IsBrowserCommand(UINT nVirtKey, UINT nModifiers);
};
