// Press tracking of an image button. A button-down on a live button (shown
// and active, both exactly 1) starts the polling timer, shows the pressed
// face and passes the press on, so the dialog gets its click at once; a
// button-up over it ends the press; a timer tick with the pointer outside
// the button ends it too. A hidden or inert button swallows presses and
// releases, sets no cursor and relays nothing to its tooltip. The timer
// runs on whatever the button's state, so a press that hid its own button
// still ends when the pointer leaves. Space presses a live button as a push
// button's: the pressed face while the key is down, the click on its release,
// nothing when the focus goes first.
#pragma once

#include "framework/WinTypes.h"

// What a key press needs of a button.
class IKeyPressHost {
public:
    virtual ~IKeyPressHost() = default;
    // The pressed face when bPressed, else the normal face.
    virtual void ShowFace(BOOL bPressed) = 0;
    // The click notification to the dialog, as the static sends it.
    virtual void Click() = 0;
};

class IPressHost : public IKeyPressHost {
public:
    // Timer 1 at 50 ms on the button's window; setting it again restarts it.
    virtual void SetPressTimer() = 0;
    virtual void KillPressTimer() = 0;
    // Whether the pointer is inside the button's region now.
    virtual BOOL IsPointerOver() = 0;
    virtual void SetHandCursor() = 0;
    // Hands the message being pre-translated to the tooltip.
    virtual void RelayToToolTip() = 0;
    // The static control's standard handling of the current message.
    virtual void PassOn() = 0;
};

class CPressTracker {
public:
    static BOOL IsLive(int bShown, int bActive) { return bShown == 1 && bActive == 1; }

    static void OnLButtonDown(IPressHost& host, int bShown, int bActive);
    static void OnLButtonUp(IPressHost& host, int bShown, int bActive);
    static void OnMouseMove(IPressHost& host, int bShown, int bActive);
    static void OnTimer(IPressHost& host);
    static void PreTranslate(IPressHost& host, int bShown, int bActive);
    // bKeyDown: whether a Space press is under way; the button keeps it.
    static void OnSpaceDown(IKeyPressHost& host, int bShown, int bActive, BOOL& bKeyDown);
    static void OnSpaceUp(IKeyPressHost& host, int bShown, int bActive, BOOL& bKeyDown);
    static void OnFocusLost(IKeyPressHost& host, BOOL& bKeyDown);
};
