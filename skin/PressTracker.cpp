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
