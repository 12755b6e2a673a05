#!/usr/bin/env python3
"""End to end: the real wizard under Wine + Xvfb, run as a user runs it,
against the demo wizard server on loopback. Needs WINEPREFIX and DISPLAY."""
import argparse
import os
import socket
import struct
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import expected as E  # noqa: E402
from wizard_driver import (CheckFailed, Wizard, check, click_control, control,  # noqa: E402
                           diff_lines, dismiss, poll, screenshot, visible_owned)

PORT = 8642


# Where report() keeps the run's lines and snap() its pictures; set by main().
OUT = {"report": None, "shots": None, "flow": ""}


def report(text):
    """Prints a line of the run and keeps it in the work folder's report."""
    print(text, flush=True)
    if OUT["report"]:
        with open(OUT["report"], "a", encoding="utf-8") as f:
            f.write(text + "\n")


def snap(stage):
    """Saves the screen as the user sees it at a stage of the run."""
    if OUT["shots"]:
        screenshot(os.path.join(OUT["shots"], "%s-%s.png" % (OUT["flow"], stage)))


def is_64bit(exe):
    """True for an x86-64 PE file: its COFF header names machine 0x8664."""
    with open(exe, "rb") as f:
        head = f.read(4096)
    pe = struct.unpack_from("<I", head, 0x3C)[0]
    return struct.unpack_from("<H", head, pe + 4)[0] == 0x8664


def plugin_folder(exe):
    """Where the exe under test finds CSIDL_PROGRAM_FILES: a 32-bit exe on a
    64-bit prefix gets "Program Files (x86)"."""
    drive = os.path.join(os.environ["WINEPREFIX"], "drive_c")
    x86 = os.path.join(drive, "Program Files (x86)")
    if is_64bit(exe) or not os.path.isdir(x86):
        base = os.path.join(drive, "Program Files")
    else:
        base = x86
    return os.path.join(base, "NORVANE", "QELWallet")


def plant_files(folder):
    os.makedirs(folder, exist_ok=True)
    for name in E.PLUGIN_FILES + [E.KEPT_FILE]:
        with open(os.path.join(folder, name), "wb") as f:
            f.write(b"plug-in file " + name.encode() + b"\n")


def start_server(script, log_path, flow):
    with socket.socket() as s:
        if s.connect_ex(("127.0.0.1", PORT)) == 0:
            raise CheckFailed("port %d is taken; the test needs it for the demo server" % PORT)
    proc = subprocess.Popen([sys.executable, script, str(PORT), "--log", log_path,
                             "--timeout", "400", "--flow", flow], stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL)

    def up():
        with socket.socket() as s:
            return s.connect_ex(("127.0.0.1", PORT)) == 0
    poll("the demo server", up, 15, 0.1)
    return proc


def fetched(log_path, path):
    def probe():
        if not os.path.exists(log_path):
            return False
        with open(log_path, encoding="utf-8") as f:
            return any(line.split("?")[0].strip() == path for line in f)
    return probe


def check_buttons(window, shown, either=()):
    """Controls in shown are visible, the others hidden; those in either may be both."""
    for ident in (E.IDC_BTN_START, E.IDC_BTN_CANCEL, E.IDC_BTN_TEST, E.IDC_HINT):
        if ident in either:
            continue
        check("control %d visible" % ident, ident in shown, control(window, ident)["visible"])


def check_progress(window, pos):
    p = window.get("progress")
    if p is None:
        raise CheckFailed("no progress bar in the wizard window")
    check("progress (pos, min, max)", (pos, 0, 10), (p["pos"], p["min"], p["max"]))


def watch(wiz, what, condition, timeout=30):
    """Polls the wizard window until condition(window) holds; returns the window."""
    def probe():
        window = wiz.inspect()
        return window if window and condition(window) else None
    return poll(what, probe, timeout)


def wait_dialog(wiz, what):
    return visible_owned(watch(wiz, what, visible_owned))[0]


def wait_no_dialog(wiz, what):
    return watch(wiz, what + " to close", lambda w: not visible_owned(w))


def check_state(window, lines, pos, shown, either=()):
    diff_lines("log lines", lines, window.get("log", []))
    check_progress(window, pos)
    check_buttons(window, shown, either)


def shows_state(window, lines, pos, shown, either=()):
    try:
        check_state(window, lines, pos, shown, either)
        return True
    except CheckFailed:
        return False


def hosts_browser(dialog):
    """A page dialog whose children go beyond its static pictures hosts the browser."""
    return any(c not in ("Static", "Button") for c in dialog.get("children", []))


def page_dialog(dialog, server_log, page, what):
    """Checks that a page dialog that hosts the browser asks the server for its page."""
    if hosts_browser(dialog):
        poll("the %s request" % what, fetched(server_log, page), 30)
        report("ok: %s requested" % what)
    else:
        report("note: the %s dialog hosts no browser; its request is not checked" % what)


def wait_state(wiz, what, lines, pos, shown, either=()):
    """Waits until log, progress and buttons all show the state; diffs them if they never do."""
    try:
        return watch(wiz, what, lambda w: shows_state(w, lines, pos, shown, either))
    except CheckFailed:
        check_state(wiz.inspect() or {"controls": []}, lines, pos, shown, either)
        raise


# What the wizard reports for each demo server flow, and how long the payment
# test may take (the stall flow runs into the 181-tick time-out).
FLOWS = {
    "success": (E.TESTED_SUCCESS, 60),
    "failure": (E.TESTED_FAILURE, 60),
    # The result page is a frame; the verdict comes from the top-level document.
    "frame": (E.TESTED_SUCCESS, 60),
    "stall": (E.TESTED_FAILURE, 240),
}
TIMEOUT_TICKS = 181


def start_and_close_notice(wiz):
    wiz.start()
    poll("the wizard window on the screen", lambda: wiz.shown(E.TITLE), 60)
    window = poll("the wizard window", wiz.inspect, 60)
    check("title", E.TITLE, window["title"])
    check_state(window, E.INTRO, 0, {E.IDC_BTN_START, E.IDC_BTN_CANCEL})
    report("ok: introduction")
    snap("1-start")

    notice = wait_dialog(wiz, "the notice dialog")
    snap("2-notice")
    dismiss(notice)
    window = wait_no_dialog(wiz, "the notice dialog")
    diff_lines("log after the notice", E.INTRO, window["log"])
    report("ok: notice closed")
    return window


def reinstall(wiz, window, server_log, folder):
    """Stage 2: the setup page's flow ends the dialog by itself on its marker page."""
    click_control(window, E.IDC_BTN_START)
    setup = wait_dialog(wiz, "the setup page dialog")
    page_dialog(setup, server_log, E.SETUP_PAGE, "setup page")
    snap("3-setup-page")
    wait_no_dialog(wiz, "the setup page dialog")
    check("setup marker page requested", True, fetched(server_log, E.SETUP_MARKER)())
    # The hint follows 4 s later, so a slow look may already see it.
    wait_state(wiz, "stage 2", E.REINSTALLED, 5, {E.IDC_BTN_TEST, E.IDC_BTN_CANCEL},
               either={E.IDC_HINT})
    left = [n for n in E.PLUGIN_FILES if os.path.exists(os.path.join(folder, n))]
    check("plug-in files left", [], left)
    check("%s kept" % E.KEPT_FILE, True, os.path.exists(os.path.join(folder, E.KEPT_FILE)))
    report("ok: reinstalled")
    poll("the installer request", fetched(server_log, E.INSTALLER), 30)
    report("ok: the hidden browser fetched the installer")
    # The user has run the installer and closes the browser window that covers the wizard.
    wiz.close_browsers()
    window = watch(wiz, "the hint image", lambda w: control(w, E.IDC_HINT)["visible"], 15)
    report("ok: hint shown")
    snap("4-hint")
    return window


def dialog_closed(wiz, limit):
    """Waits for the wizard's dialog to close; returns when it did (wall clock), halfway
    between the middles of the last look that saw it and the first that did not."""
    end = time.monotonic() + limit
    seen = time.time()
    while time.monotonic() < end:
        before = time.time()
        window = wiz.inspect()
        middle = (before + time.time()) / 2
        if window and not visible_owned(window):
            return (seen + middle) / 2
        if window:
            seen = middle
        time.sleep(0.05)
    raise CheckFailed("timed out after %gs waiting for the dialog to close" % limit)


def payment_test(wiz, window, server_log, flow):
    """Stage 3: the payment-test page runs to its verdict; the stall flow to the time-out."""
    lines, limit = FLOWS[flow]
    click_control(window, E.IDC_BTN_TEST)
    pay = wait_dialog(wiz, "the payment-test dialog")
    page_dialog(pay, server_log, E.PAY_PAGE, "payment-test page")
    snap("5-payment-test")
    # The countdown starts as the dialog asks for its page; in the stall flow the
    # server's log was last written by that request.
    asked = os.path.getmtime(server_log)
    closed = dialog_closed(wiz, limit)
    if flow == "stall":
        took = closed - asked
        check("time-out after %d s (within 2 s)" % TIMEOUT_TICKS, True,
              abs(took - TIMEOUT_TICKS) <= 2)
        report("ok: the payment test timed out after %.1f s" % took)
    else:
        check("result marker page requested", True, fetched(server_log, E.RESULT_MARKER)())
    window = wait_state(wiz, "stage 3", lines, 10, {E.IDC_BTN_CANCEL})
    report("ok: payment test reported (%s)" % flow)
    snap("6-verdict")

    click_control(window, E.IDC_BTN_CANCEL)
    poll("the wizard to end", lambda: not wiz.running(), 30)
    check("exit code", 0, wiz.proc.returncode)
    report("ok: wizard ended")


def scenario(wiz, server_log, folder, flow):
    window = start_and_close_notice(wiz)
    window = reinstall(wiz, window, server_log, folder)
    payment_test(wiz, window, server_log, flow)


def run_flow(args, flow):
    """One whole run of the wizard against the demo server's flow; 0 when it passed."""
    OUT["flow"] = flow
    report("e2e: flow %s" % flow)
    server_log = os.path.join(args.work, "demo_server-%s.log" % flow)
    wizard_log = os.path.join(args.work, "wizard-%s.log" % flow)
    for old in (server_log, wizard_log):
        if os.path.exists(old):
            os.remove(old)
    folder = plugin_folder(args.exe)
    plant_files(folder)
    started = time.monotonic()
    server = start_server(args.server, server_log, flow)
    wiz = Wizard(args.exe, args.inspect, wizard_log)
    try:
        scenario(wiz, server_log, folder, flow)
    except CheckFailed as e:
        report("e2e FAILED (%s): %s" % (flow, e))
        shot = os.path.join(args.work, "failure-%s.png" % flow)
        screenshot(shot)
        print("e2e: the screen at the failure: %s; the wizard's output: %s" % (shot, wiz.log.name))
        return 1
    finally:
        wiz.stop()
        server.terminate()
        server.wait(timeout=10)
        report("e2e: flow %s took %.0fs" % (flow, time.monotonic() - started))
    return 0


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--exe", required=True)
    ap.add_argument("--inspect", required=True)
    ap.add_argument("--server", required=True)
    ap.add_argument("--work", required=True)
    ap.add_argument("--flows", default="success,failure",
                    help="comma-separated demo server flows to run: " + ", ".join(FLOWS))
    args = ap.parse_args()
    for var in ("WINEPREFIX", "DISPLAY"):
        if not os.environ.get(var):
            print("e2e: %s is not set (run through tools/test.sh)" % var)
            return 1
    if not os.path.exists(args.exe):
        print("e2e: %s has not been built" % args.exe)
        return 1
    OUT["report"] = os.path.join(args.work, "e2e-report-%s.txt" % args.flows.replace(",", "-"))
    OUT["shots"] = os.path.join(args.work, "screenshots")
    os.makedirs(OUT["shots"], exist_ok=True)
    if os.path.exists(OUT["report"]):
        os.remove(OUT["report"])
    return max(run_flow(args, flow) for flow in args.flows.split(","))


if __name__ == "__main__":
    sys.exit(main())
