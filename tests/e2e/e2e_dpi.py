#!/usr/bin/env python3
"""End to end at the system DPIs a customer's Windows reports: the wizard's scenario
dpi96, dpi120 or dpi144 sets the Wine prefix's DPI, runs the customer's whole run with
the notice closed on its OK image, and records where every control of the wizard, the
notice, the setup page and the payment-test dialog lies in its window; at 120 and 144
each must lie where it does at 96 (run dpi96 first, in the same call), within 1 px, and
inside its window, and the notice and the wizard's first screen must be the 96-DPI
pictures, pixel for pixel. The prefix's DPI is set back to 96 after each. Options as for
e2e_wizard.py; needs QEL_WINE and WINEPREFIX (scripts/winenv.sh)."""
import json
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_wizard as W  # noqa: E402
import expected as E  # noqa: E402
from wizard_driver import (CheckFailed, check, click_control, control, poll,  # noqa: E402
                           screenshot)

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# Dialog name -> its controls' places at 96 DPI, from this call's dpi96 run.
AT_96 = {}
# The page dialogs' browser controls, placed in pixels by the page table (the
# payment test's 495 px wide in its 494-px window, clipped by it, at every DPI).
BROWSERS = (9041, 9042)


def set_dpi(dpi):
    """The prefix's system DPI through scripts/winenv.sh, the Wine server restarted."""
    subprocess.run(["bash", "-c", '. "$0/scripts/winenv.sh" && qel_wine_dpi "$1"', ROOT, str(dpi)],
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, check=True, timeout=300)


def places(dialog):
    """Each control with a size: (id, class) -> its rectangle from the window's top
    left; visible template controls must lie inside the window."""
    left, top, right, bottom = dialog["rect"]
    found = {}
    for c in dialog["controls"]:
        l, t, r, b = c["rect"]
        if r <= l or b <= t:
            continue
        if c["visible"] and c["id"] not in BROWSERS and not (left <= l and top <= t and r <= right and b <= bottom):
            raise CheckFailed("control %d (%s) at %s lies outside its window %s"
                              % (c["id"], c["class"], c["rect"], dialog["rect"]))
        found["%d %s" % (c["id"], c["class"])] = (l - left, t - top, r - left, b - top)
    found["window"] = (0, 0, right - left, bottom - top)
    return found


def same_places(name, dpi, seen, run):
    """The dialog's controls lie where they did at 96 DPI, within 1 px."""
    run.geometry[name] = seen
    if dpi == 96:
        AT_96[name] = seen
        return
    if name not in AT_96:
        raise CheckFailed("no 96-DPI places of the %s to compare with: run dpi96 first" % name)
    for key in sorted(set(seen) & set(AT_96[name])):
        off = max(abs(a - b) for a, b in zip(seen[key], AT_96[name][key]))
        if off > 1:
            raise CheckFailed("%s at %d DPI: %s at %s, at 96 DPI at %s"
                              % (name, dpi, key, seen[key], AT_96[name][key]))
    missing = sorted(k for k in AT_96[name]
                     if k not in seen and k.split()[0] not in map(str, BROWSERS))
    check("%s controls missing at %d DPI" % (name, dpi), [], missing)
    W.report("ok: %s at %d DPI: %d controls where they are at 96" % (name, dpi, len(seen)))


def same_picture(stage, dpi):
    """The screen at a stage is the one at 96 DPI, pixel for pixel (until it has been
    painted: the picture is taken again for up to 10 s)."""
    shots = W.OUT["shots"]
    here = os.path.join(shots, "dpi%d-%s.png" % (dpi, stage))
    there = os.path.join(shots, "dpi96-%s.png" % stage)
    if dpi == 96 or not os.path.exists(there):
        return

    def differing():
        screenshot(here)
        out = subprocess.run(["compare", "-metric", "AE", here, there, "null:"],
                             capture_output=True, text=True, timeout=60).stderr.strip()
        return out.split()[0] if out else "?"
    try:
        poll("the %s picture at %d DPI to be the one at 96" % (stage, dpi),
             lambda: differing() == "0", 10, interval=1)
    except CheckFailed as e:
        raise CheckFailed("%s (%s pixels differ; %s, %s)" % (e, differing(), here, there))
    W.report("ok: the %s at %d DPI is the 96-DPI picture, pixel for pixel" % (stage, dpi))


def dpi_run(dpi, run):
    set_dpi(dpi)
    run.geometry = {}
    try:
        customer_run(dpi, run)
    finally:
        with open(os.path.join(os.path.dirname(run.server_log), "places-%d.json" % dpi),
                  "w") as f:
            json.dump(run.geometry, f, indent=1, sort_keys=True)
        set_dpi(96)


def customer_run(dpi, run):
    run.wiz.start()
    poll("the wizard window on the screen", lambda: run.wiz.shown(E.TITLE), 60)
    notice = W.wait_dialog(run.wiz, "the notice dialog")
    same_places("notice", dpi, places(notice), run)
    W.snap("1-notice")
    same_picture("1-notice", dpi)
    click_control(notice, E.IDC_BTN_OK)
    window = W.wait_no_dialog(run.wiz, "the notice dialog")
    W.report("ok: the notice closed on its OK image")
    W.check_state(window, E.INTRO, 0, {E.IDC_BTN_START, E.IDC_BTN_CANCEL})
    same_places("wizard", dpi, places(window), run)
    W.snap("2-start")
    same_picture("2-start", dpi)
    setup = W.open_setup_page(run, window)
    same_places("setup page", dpi, places(setup), run)
    W.moment(run.wiz, "the end of stage 2", lambda w: control(w, E.IDC_BTN_TEST)["visible"], 60)
    window = W.reinstalled(run, hint=False)
    pay = W.open_payment_test(run, window)
    same_places("payment-test dialog", dpi, places(pay), run)
    W.dialog_closed(run.wiz, "the payment-test dialog", 60)
    W.finish(run, W.verdict_shown(run, E.TESTED_SUCCESS))


for _dpi in (96, 120, 144):
    W.SCENARIOS["dpi%d" % _dpi] = (lambda run, d=_dpi: dpi_run(d, run), "success", 2)

if __name__ == "__main__":
    sys.exit(W.main())
