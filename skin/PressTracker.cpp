#include "skin/PressTracker.h"

void CPressTracker::OnLButtonDown(IPressHost& host, int bShown, int bActive) {
    if (!IsLive(bShown, bActive))
        return;
    host.SetPressTimer();
    host.ShowFace(TRUE);
    // The notify static reports the click to the dialog from here.
    host.PassOn();
}

void CPressTracker::OnLButtonUp(IPressHost& host, int bShown, int bActive) {
    if (!IsLive(bShown, bActive))
        return;
    host.KillPressTimer();
    host.ShowFace(FALSE);
    host.PassOn();
}

void CPressTracker::OnMouseMove(IPressHost& host, int bShown, int bActive) {
    if (IsLive(bShown, bActive))
        host.SetHandCursor();
    host.PassOn();
}

void CPressTracker::OnTimer(IPressHost& host) {
    if (!host.IsPointerOver()) {
        host.KillPressTimer();
        host.ShowFace(FALSE);
    }
    host.PassOn();
}

void CPressTracker::PreTranslate(IPressHost& host, int bShown, int bActive) {
    if (IsLive(bShown, bActive))
        host.RelayToToolTip();
}

void CPressTracker::OnSpaceDown(IKeyPressHost& host, int bShown, int bActive, BOOL& bKeyDown) {
    // The key's repeats change nothing.
    if (bKeyDown || !IsLive(bShown, bActive))
        return;
    bKeyDown = TRUE;
    host.ShowFace(TRUE);
}

void CPressTracker::OnSpaceUp(IKeyPressHost& host, int bShown, int bActive, BOOL& bKeyDown) {
    if (!bKeyDown)
        return;
    bKeyDown = FALSE;
    host.ShowFace(FALSE);
    // A button hidden or made inert while the key was down does not fire.
    if (IsLive(bShown, bActive))
        host.Click();
}

void CPressTracker::OnFocusLost(IKeyPressHost& host, BOOL& bKeyDown) {
    if (!bKeyDown)
        return;
    bKeyDown = FALSE;
    host.ShowFace(FALSE);
}
