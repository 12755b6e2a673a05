#!/usr/bin/env python3
"""End to end: the real wizard under Wine + Xvfb, run as a user runs it,
against the demo wizard server on loopback. Needs WINEPREFIX and DISPLAY."""
import argparse
import collections
import glob
import os
import re
import shutil
import socket
import struct
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import expected as E  # noqa: E402
import prefix_audit  # noqa: E402
import standin_host  # noqa: E402
from wizard_driver import (CheckFailed, Wizard, check, check_near, click_control,  # noqa: E402
                           control, diff_lines, dismiss, poll, screenshot, visible_owned, wine,
                           wine_processes)
from wizard_driver import drag as drag_mouse  # noqa: E402

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


def port_free():
    with socket.socket() as s:
        return s.connect_ex(("127.0.0.1", PORT)) != 0


def start_server(script, log_path, flow, refresh):
    # Another work tree's test run on this machine holds the port for a few minutes at most.
    if not port_free():
        report("e2e: port %d is taken (another test run?); waiting up to 10 min" % PORT)
        poll("port %d to be free for the demo server" % PORT, port_free, 600, 1)
    proc = subprocess.Popen([sys.executable, script, str(PORT), "--log", log_path,
                             "--timeout", "400", "--flow", flow, "--refresh", str(refresh)],
                            stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL)
    # Its first line comes once it listens; it ends at once when the port was taken after all.
    if not proc.stdout.readline():
        proc.wait(timeout=10)
        raise CheckFailed("the demo server did not start on port %d" % PORT)
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


TIMEOUT_TICKS = 181
HINT_DELAY = 4


def start_and_close_notice(run):
    run.wiz.start()
    poll("the wizard window on the screen", lambda: run.wiz.shown(E.TITLE), 60)
    window = poll("the wizard window", run.wiz.inspect, 60)
    check("title", E.TITLE, window["title"])
    check_state(window, E.INTRO, 0, {E.IDC_BTN_START, E.IDC_BTN_CANCEL})
    report("ok: introduction")

    notice = wait_dialog(run.wiz, "the notice dialog")
    snap("1-notice")
    dismiss(notice)
    window = wait_no_dialog(run.wiz, "the notice dialog")
    diff_lines("log after the notice", E.INTRO, window["log"])
    # The browsers that were open (the success run opens one) end as the notice closes.
    poll("every Internet Explorer to end", lambda: not wine_processes("iexplore.exe"), 30)
    report("ok: notice closed, no Internet Explorer left")
    snap("2-start")
    return window


def moment(wiz, what, condition, limit, progress=None, sparse_until=None):
    """Waits until condition(window) holds; returns (when it came to, on the wall clock:
    halfway between the middles of the last look that saw it not yet and the first that
    saw it, the window). progress(seconds waited) is called every 30 s of the wait. Before
    sparse_until (wall clock), when the moment is not due, a look comes every 5 s: other
    scenarios run beside this one."""
    start = time.monotonic()
    end = start + limit
    told = 0
    seen = time.time()
    while time.monotonic() < end:
        waited = time.monotonic() - start
        if progress and waited >= told + 30:
            told += 30
            progress(told)
        before = time.time()
        window = wiz.inspect()
        middle = (before + time.time()) / 2
        if window and condition(window):
            return (seen + middle) / 2, window
        if window:
            seen = middle
        early = sparse_until - time.time() if sparse_until else 0
        time.sleep(min(max(early, 0.05), 5))
    raise CheckFailed("timed out after %gs waiting for %s" % (limit, what))


def dialog_closed(wiz, what, limit, progress=None, sparse_until=None):
    return moment(wiz, what + " to close", lambda w: not visible_owned(w), limit, progress,
                  sparse_until)[0]


def open_page_dialog(run, window, button, what, page, stage):
    """Clicks a next image; returns the page dialog it opens once that asks for its page."""
    click_control(window, button)
    dialog = wait_dialog(run.wiz, "the %s dialog" % what)
    page_dialog(dialog, run.server_log, page, what)
    snap(stage)
    return dialog


def open_setup_page(run, window):
    return open_page_dialog(run, window, E.IDC_BTN_START, "setup page", E.SETUP_PAGE,
                            "3-setup-page")


def reinstalled(run, hint):
    """Checks the state after stage 2 and the plug-in folder; the installer's request."""
    shown = {E.IDC_BTN_TEST, E.IDC_BTN_CANCEL} | ({E.IDC_HINT} if hint else set())
    window = wait_state(run.wiz, "stage 2", run.shown_lines(E.REINSTALLED), 5, shown,
                        either=() if hint else {E.IDC_HINT})
    left = [n for n in E.PLUGIN_FILES if os.path.exists(os.path.join(run.folder, n))]
    check("plug-in files left", [run.held] if run.held else [], left)
    check("%s kept" % E.KEPT_FILE, True, os.path.exists(os.path.join(run.folder, E.KEPT_FILE)))
    report("ok: reinstalled")
    poll("the installer request", fetched(run.server_log, E.INSTALLER), 30)
    report("ok: the hidden browser fetched the installer")
    # The user has run the installer and closes the browser window that covers the wizard.
    run.wiz.close_browsers()
    return window


def reinstall(run, window):
    """Stage 2: the setup page's flow ends the dialog by itself on its marker page;
    the hint follows 4 s after the stage's end."""
    open_setup_page(run, window)
    # Stage 2 ends as the second next image replaces the first.
    ended, _ = moment(run.wiz, "the end of stage 2",
                      lambda w: control(w, E.IDC_BTN_TEST)["visible"], 60)
    check("setup marker page requested", True, fetched(run.server_log, E.SETUP_MARKER)())
    shown, _ = moment(run.wiz, "the hint image", lambda w: control(w, E.IDC_HINT)["visible"],
                      HINT_DELAY + 15)
    check_near("the hint after stage 2", HINT_DELAY, shown - ended, 1)
    report("ok: hint shown %.1f s after stage 2" % (shown - ended))
    window = reinstalled(run, hint=True)
    snap("4-hint")
    return window


def open_payment_test(run, window):
    return open_page_dialog(run, window, E.IDC_BTN_TEST, "payment-test page", E.PAY_PAGE,
                            "5-payment-test")


def verdict_shown(run, lines):
    window = wait_state(run.wiz, "stage 3", run.shown_lines(lines), 10, {E.IDC_BTN_CANCEL})
    report("ok: payment test reported (%s)" % ("success" if lines == E.TESTED_SUCCESS
                                               else "failure"))
    snap("6-success" if lines == E.TESTED_SUCCESS else "6-failure")
    return window


def payment_test(run, window, lines):
    """Stage 3: the payment-test page runs to its result page."""
    open_payment_test(run, window)
    dialog_closed(run.wiz, "the payment-test dialog", 60)
    check("result marker page requested", True, fetched(run.server_log, E.RESULT_MARKER)())
    return verdict_shown(run, lines)


def browser_log_check(run):
    """Every object the stand-in browser handed out was released; its last count is 0;
    the wizard called no member the stand-in leaves unimplemented."""
    check("the stand-in's log written", True, os.path.exists(run.browser_log))
    with open(run.browser_log, encoding="utf-8", errors="replace") as f:
        text = f.read()
    check("unexpected calls on the stand-in", [], re.findall(r"unexpected call (\S+)", text))
    made = collections.Counter(re.findall(r"\] new (\S+)", text))
    freed = collections.Counter(re.findall(r"\] free (\S+)", text))
    check("stand-in objects never released", [], sorted((made - freed).elements()))
    lives = re.findall(r"\] (live \d+)", text)
    check("the stand-in's last live count", "live 0", lives[-1] if lives else None)
    return sum(made.values())


def finish(run, window):
    """Ends the wizard by its cancel image; nothing of it may be left behind."""
    click_control(window, E.IDC_BTN_CANCEL)
    ended(run)


def ended(run):
    """The wizard has ended with code 0 and left nothing behind."""
    poll("the wizard to end", lambda: not run.wiz.running(), 30)
    check("exit code", 0, run.wiz.proc.returncode)
    left = run.wiz.windows("--all")
    check("dialogs left", [], left and [w["title"] for w in left])
    check("wizard window left on the screen", False, run.wiz.shown(E.TITLE))
    # The stand-in browser is loaded with the first page dialog.
    objects = browser_log_check(run) if fetched(run.server_log, E.SETUP_PAGE)() else 0
    report("ok: wizard ended, no window left, %d browser objects all released" % objects)


def check_prefix_changes(run, prefix, before):
    """The prefix changed since before by the twelve deleted plug-in files only."""
    changes, ignored = prefix_audit.changes(before, prefix_audit.settled_snapshot(prefix))
    diff_lines("changes to the Wine prefix", deleted_plugin_files(run, prefix), changes)
    report("ok: the prefix changed by the %d deleted plug-in files only" % len(changes))
    run.notes += ["Wine's own change, left out of the audit: %s" % c for c in ignored]


def success(run):
    """The customer's run: a running browser is ended, the files go, both page flows
    pass; the prefix changes by the twelve deleted files and nothing else; each browser
    control had the wizard's hardened host."""
    prefix = os.environ["WINEPREFIX"]
    before = prefix_audit.settled_snapshot(prefix)
    start_browser(run)
    window = reinstall(run, start_and_close_notice(run))
    finish(run, payment_test(run, window, E.TESTED_SUCCESS))
    check_prefix_changes(run, prefix, before)
    report("ok: %d browser controls hosted with the host interfaces, flags, no drops and the "
           "feature controls on" % standin_host.check_host(run))


def held_file(run):
    """Another program holds a plug-in file open without delete sharing: it stays, the
    second line says so, and the prefix changes by the other eleven deletions only."""
    prefix = os.environ["WINEPREFIX"]
    before = prefix_audit.settled_snapshot(prefix)
    path = os.path.join(run.folder, run.held)
    with open(path, "rb") as f:
        content = f.read()
    holder = hold(run, path)
    try:
        finish(run, reinstall(run, start_and_close_notice(run)))
    finally:
        holder.stdin.close()
        holder.wait(timeout=30)
    with open(path, "rb") as f:
        check("the held file's content", content, f.read())
    report("ok: %s held, kept and reported; the other %d deleted"
           % (run.held, len(E.PLUGIN_FILES) - 1))
    check_prefix_changes(run, prefix, before)


def linked_file(run):
    """A plug-in file that is a symbolic link to a read-only file outside the plug-in
    folder: the link is not followed (the outside file keeps its write protection and
    its bytes), it stays, the second line says so, and the prefix changes by the other
    eleven deletions only."""
    prefix = os.environ["WINEPREFIX"]
    link = os.path.join(run.folder, run.held)
    outside = os.path.join(prefix, "drive_c", E.LINK_TARGET)
    content = b"a file outside the plug-in folder\n"
    with open(outside, "wb") as f:
        f.write(content)
    os.chmod(outside, 0o444)
    os.remove(link)
    os.symlink(outside, link)
    try:
        before = prefix_audit.settled_snapshot(prefix)
        finish(run, reinstall(run, start_and_close_notice(run)))
        check("the link left in place", outside, os.path.islink(link) and os.readlink(link))
        with open(outside, "rb") as f:
            check("the outside file's content", content, f.read())
        check("the outside file's mode", "0o444", oct(os.stat(outside).st_mode & 0o777))
        report("ok: %s, a link to C:\\%s, left and reported; the file it leads to kept, "
               "read-only, its bytes unchanged" % (run.held, E.LINK_TARGET))
        check_prefix_changes(run, prefix, before)
    finally:
        if os.path.lexists(link):
            os.remove(link)
        if os.path.exists(outside):
            os.chmod(outside, 0o644)
            os.remove(outside)


def hold(run, path):
    """Starts the helper that holds path open without delete sharing; returns it once it
    holds the file. Closing its standard input lets the file go."""
    drive = os.path.join(os.environ["WINEPREFIX"], "drive_c")
    windows_path = "C:\\" + os.path.relpath(path, drive).replace("/", "\\")
    holder = subprocess.Popen([wine(), run.holder, windows_path], stdin=subprocess.PIPE,
                              stdout=subprocess.PIPE, stderr=run.wiz.log)
    said = holder.stdout.readline()
    if said != b"held\n":
        holder.stdin.close()
        holder.wait(timeout=30)
        raise CheckFailed("the helper could not hold %s (it said %r)" % (windows_path, said))
    return holder


def verdict(run):
    """A whole run whose payment flow gives the flow's verdict."""
    window = reinstall(run, start_and_close_notice(run))
    finish(run, payment_test(run, window, VERDICTS[run.flow]))


def late_page(run):
    """The marker frame completes while its page is still arriving (the server holds the
    page's tail until the frame has been answered): the wizard reads the page as far as
    it has come, whose result text stands before the frame: a success."""
    verdict(run)
    with open(run.browser_log, encoding="utf-8", errors="replace") as f:
        lines = f.read().splitlines()

    def first(text, after=0):
        return next((i for i, line in enumerate(lines) if i >= after and text in line), None)
    loading = first("frame 0 complete while the page is loading")
    check("the marker frame completed while its page was arriving", True, loading is not None)
    read = first("get_outerHTML", loading)
    done = first("DocumentComplete http://127.0.0.1:%d/plugin/wizard/QEL_pay_done.html" % PORT)
    check("the wizard read the page before all of it had come", True,
          read is not None and (done is None or read < done))
    report("ok: the result was read from the page while it was still arriving")


def run_twice(run, second, results):
    """The customer's second run after a failed payment test, the server's verdict having
    changed to success in between: the second run's verdict and how often the result page
    was asked for over both runs."""
    for number, lines in enumerate((E.TESTED_FAILURE, second), 1):
        plant_files(run.folder)
        # The customer goes on as soon as the second next image shows, before the hint.
        open_setup_page(run, start_and_close_notice(run))
        window = reinstalled(run, hint=False)
        # The pointer rests where the second next image now is; "mousemove --sync"
        # would wait for a move that does not come.
        subprocess.run(["xdotool", "mousemove", "0", "0"], check=True, timeout=30)
        finish(run, payment_test(run, window, lines))
        report("ok: run %d of 2 ended" % number)
    with open(run.server_log, encoding="utf-8") as f:
        asked = sum(line.split("?")[0].strip() == E.RESULT_MARKER for line in f)
    check("result page requests over both runs", results, asked)


def rerun_fresh(run):
    """The result page carries the contract's headers: the second run asks the server
    again and reads its new verdict."""
    run_twice(run, E.TESTED_SUCCESS, 2)
    report("ok: the second run read the server's new verdict, a success")


def rerun_cached(run):
    """The result page lets itself be cached for an hour (no contract headers): the second
    run's browser answers it from its cache, so the customer is told the first run's
    failure again although the server now says success. The risk the contract's headers
    remove."""
    run_twice(run, E.TESTED_FAILURE, 1)
    report("ok: the second run read the first run's verdict from the browser cache, a failure")


def time_out(run):
    """The payment page never reaches a result: the dialog's own 181 ticks end it."""
    window = reinstall(run, start_and_close_notice(run))
    open_payment_test(run, window)
    # The countdown starts as the dialog asks for its page, the server log's last write.
    asked = os.path.getmtime(run.server_log)

    def countdown(_):
        left = asked + TIMEOUT_TICKS - time.time()
        report("e2e: %s: the wizard's time-out in %.0f s" % (run.name, max(left, 0)))
    # A dialog that closes long before its time fails the check below, however late seen.
    took = dialog_closed(run.wiz, "the payment-test dialog", TIMEOUT_TICKS + 60, countdown,
                         asked + TIMEOUT_TICKS - 10) - asked
    check_near("the time-out after the page request", TIMEOUT_TICKS, took, 2)
    report("ok: the payment test timed out after %.1f s" % took)
    finish(run, verdict_shown(run, E.TESTED_FAILURE))


def escape_payment_test(run):
    """Esc on the payment-test page ends it without a result: a failure."""
    window = reinstall(run, start_and_close_notice(run))
    dismiss(open_payment_test(run, window))
    dialog_closed(run.wiz, "the payment-test dialog", 15)
    finish(run, verdict_shown(run, E.TESTED_FAILURE))


def setup_closed_by_ok(run):
    """The OK image closes the setup page dialog before its flow ends; stage 2 goes on."""
    setup = open_setup_page(run, start_and_close_notice(run))
    click_control(setup, E.IDC_BTN_OK)
    dialog_closed(run.wiz, "the setup page dialog", 15)
    check("setup marker page requested", False, fetched(run.server_log, E.SETUP_MARKER)())
    finish(run, reinstalled(run, hint=False))


def browser_logged(run, text):
    def probe():
        if not os.path.exists(run.browser_log):
            return False
        with open(run.browser_log, encoding="utf-8", errors="replace") as f:
            return text in f.read()
    return probe


def setup_page_unfetchable(run):
    """The setup page cannot be fetched: the browser's error page shows in the setup
    dialog until its OK image closes it; stage 2 goes on."""
    setup = open_setup_page(run, start_and_close_notice(run))
    poll("the error page", browser_logged(run, "DocumentComplete res://ieframe.dll/http_500.htm#"),
         30)
    report("ok: the browser's error page completed")
    snap("3-error-page")
    click_control(setup, E.IDC_BTN_OK)
    dialog_closed(run.wiz, "the setup page dialog", 15)
    check("setup marker page requested", False, fetched(run.server_log, E.SETUP_MARKER)())
    finish(run, reinstalled(run, hint=False))


# Bound on the payment test with no browser control: no page to wait for.
NO_BROWSER_LIMIT = 10


def no_browser(run):
    """The browser control's class is unavailable (QEL_BROWSER=none): neither page dialog
    opens, stage 2 goes on as after a completed flow, and the payment test fails at
    once. The prefix changes by the twelve deleted files and nothing else."""
    prefix = os.environ["WINEPREFIX"]
    before = prefix_audit.settled_snapshot(prefix)
    run.wiz.env["QEL_BROWSER"] = "none"
    window = start_and_close_notice(run)
    click_control(window, E.IDC_BTN_START)
    ended, _ = moment(run.wiz, "the end of stage 2",
                      lambda w: control(w, E.IDC_BTN_TEST)["visible"], 60)
    shown, _ = moment(run.wiz, "the hint image", lambda w: control(w, E.IDC_HINT)["visible"],
                      HINT_DELAY + 15)
    check_near("the hint after stage 2", HINT_DELAY, shown - ended, 1)
    window = reinstalled(run, hint=True)
    # The pointer still rests where the second next image now is, and xdotool's
    # "mousemove --sync" waits for a move that does not come: move it off first.
    subprocess.run(["xdotool", "mousemove", "0", "0"], check=True, timeout=30)
    clicked = time.time()
    click_control(window, E.IDC_BTN_TEST)
    failed, _ = moment(run.wiz, "the failure lines",
                       lambda w: shows_state(w, E.TESTED_FAILURE, 10, {E.IDC_BTN_CANCEL}),
                       NO_BROWSER_LIMIT)
    report("ok: the payment test failed %.1f s after the click" % (failed - clicked))
    for page in (E.SETUP_PAGE, E.PAY_PAGE):
        check("%s requested" % page, False, fetched(run.server_log, page)())
    with open(run.browser_log, encoding="utf-8", errors="replace") as f:
        refused = f.read().count("class unavailable")
    check("classes refused by the stand-in", 2, refused)
    finish(run, verdict_shown(run, E.TESTED_FAILURE))
    check_prefix_changes(run, prefix, before)


def about_box(run):
    """System command 16, posted from outside, opens the about box; Esc closes it."""
    window = start_and_close_notice(run)
    check("system command posted", True, run.wiz.post_syscommand(E.IDM_ABOUTBOX) is not None)
    about = wait_dialog(run.wiz, "the about box")
    check("about box title", E.ABOUT_TITLE, about["title"])
    snap("about")
    dismiss(about, at=(12, 40))  # on its client area, clear of the caption
    window = wait_no_dialog(run.wiz, "the about box")
    check_state(window, E.INTRO, 0, {E.IDC_BTN_START, E.IDC_BTN_CANCEL})
    report("ok: about box opened by system command %d and closed" % E.IDM_ABOUTBOX)
    finish(run, window)


def start_close(run):
    """The wizard starts to its window and ends by its cancel image (the release test's
    signed exe)."""
    finish(run, start_and_close_notice(run))


def drag(run):
    """Pressing the mouse on the wizard's background and moving it moves the window."""
    window = start_and_close_notice(run)
    left, top, right, bottom = window["rect"]
    x, y, dx, dy = left + 100, top + 20, -60, 40
    on = [c["id"] for c in window["controls"]
          if c["visible"] and c["rect"][0] <= x < c["rect"][2] and c["rect"][1] <= y < c["rect"][3]]
    check("controls under the drag point", [], on)
    drag_mouse(x, y, dx, dy)
    moved = (left + dx, top + dy, right + dx, bottom + dy)
    window = watch(run.wiz, "the wizard moved", lambda w: tuple(w["rect"]) == moved, 10)
    report("ok: dragged by its background from %s to %s" % ((left, top), moved[:2]))
    finish(run, window)


# Named like system programs and DLLs that are no KnownDLLs; tests/planted's
# program and DLL, which only record that they ran.
PLANTED_PROGRAMS = ["taskkill.exe", "iexplore.exe"]
PLANTED_DLLS = ["comctl32.dll", "version.dll", "uxtheme.dll", "dwmapi.dll", "cryptbase.dll"]
# Wine takes its builtin DLL over a same-named file it finds beside a program unless told
# to take that file, as Windows does. version.dll stays builtin: Wine's own user32 imports
# it before any code of the program runs (Windows' user32 does not).
PLANTED_OVERRIDES = "comctl32,uxtheme,dwmapi,cryptbase=n,b"


def plant_beside(run):
    """Copies the wizard into a folder of its own, its current folder too, beside the
    planted files; returns the folder."""
    if not run.plants:
        raise CheckFailed("the planted scenario needs --plants")
    folder = os.path.join(os.path.dirname(run.server_log), "planted-run")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    for names, built in ((PLANTED_PROGRAMS, "qel_planted_program.exe"),
                         (PLANTED_DLLS, "qel_planted_library.dll")):
        for name in names:
            shutil.copy(os.path.join(run.plants, built), os.path.join(folder, name))
    run.wiz.exe = shutil.copy(run.wiz.exe, folder)
    run.wiz.env["WINEDLLOVERRIDES"] = PLANTED_OVERRIDES
    return folder


def planted_ran(folder):
    return sorted(n[:-len(".ran")] for n in os.listdir(folder) if n.endswith(".ran"))


def planted(run):
    """Run from a folder holding programs and DLLs named like the system's, through stage 2:
    none of them runs; the system's taskkill ends the open browser and the registered
    browser fetches the installer."""
    folder = plant_beside(run)
    start_browser(run)
    try:
        window = reinstall(run, start_and_close_notice(run))
    except CheckFailed as e:
        raise CheckFailed("%s (planted files that ran: %s)" % (e, planted_ran(folder) or "none"))
    check("planted files that ran", [], planted_ran(folder))
    report("ok: nothing planted ran (%s)" % ", ".join(PLANTED_PROGRAMS + PLANTED_DLLS))
    finish(run, window)


# Each scenario: what it does, the demo server's flow and its page refresh in seconds.
SCENARIOS = {
    "success": (success, "success", 2),
    "failure": (verdict, "failure", 2),
    # The result page is a frame; the verdict comes from the top-level document.
    "frame": (verdict, "frame", 2),
    # The result page has no body tags: the browser implies them, as on a customer's PC.
    "nobody": (verdict, "nobody", 2),
    # The result page asks for a modern document mode: lower-case tags, no result text.
    "modern": (verdict, "modern", 2),
    # The result page is reached by the result frame's own navigation.
    "selfnav": (verdict, "selfnav", 2),
    # The result page is an iframe inside an iframe.
    "nested": (verdict, "nested", 2),
    # The setup page cannot be fetched: the error page stays until the OK image.
    "nosetup": (setup_page_unfetchable, "nosetup", 2),
    # The marker frame completes before the rest of its page has arrived.
    "late": (late_page, "late", 2),
    # Two runs, the server's verdict failure then success; the result page not cacheable.
    "rerun": (rerun_fresh, "rerun", 1),
    # The same, but the result page may be cached: the second run reads the first verdict.
    "cached": (rerun_cached, "cached", 1),
    "stall": (time_out, "stall", 2),
    "esc": (escape_payment_test, "stall", 2),
    # The setup page stays until the user closes its dialog.
    "setup-ok": (setup_closed_by_ok, "success", 600),
    "about": (about_box, "success", 2),
    "drag": (drag, "success", 2),
    # Asks for no page, so needs no demo server (the release exe's is the maker's).
    "close": (start_close, None, 2),
    # The browser control's class is unavailable: no page dialog opens.
    "nobrowser": (no_browser, "success", 2),
    "planted": (planted, "success", 2),
    # A plug-in file held open by another program; the run ends after stage 2.
    "held": (held_file, "success", 2),
    # A plug-in file that is a symbolic link out of the folder; the run ends after stage 2.
    "link": (linked_file, "success", 2),
}
VERDICTS = {"success": E.TESTED_SUCCESS, "failure": E.TESTED_FAILURE,
            "frame": E.TESTED_SUCCESS, "nobody": E.TESTED_SUCCESS, "modern": E.TESTED_FAILURE,
            "selfnav": E.TESTED_SUCCESS, "nested": E.TESTED_SUCCESS, "late": E.TESTED_SUCCESS}


def start_browser(run):
    """An Internet Explorer the customer has open before the wizard starts; it must be
    running, to be ended after the notice."""
    subprocess.Popen([wine(), "iexplore.exe", "about:blank"], stdin=subprocess.DEVNULL,
                     stdout=run.wiz.log, stderr=run.wiz.log)
    poll("Internet Explorer to start", lambda: wine_processes("iexplore.exe"), 60)
    # And its window: mapped after the wizard's notice, it would cover the notice (no
    # window manager) and take the click meant for it.
    poll("Internet Explorer's window", lambda: run.wiz.shown(".*Internet Explorer"), 60)


def deleted_plugin_files(run, prefix):
    folder = os.path.relpath(run.folder, os.path.join(prefix, "drive_c"))
    return sorted("- file:" + os.path.join(folder, n) for n in E.PLUGIN_FILES if n != run.held)


def browser_log(windows_path):
    """The host path of a QEL_BROWSER_LOG given as Z:\\... or C:\\... (None when unset)."""
    if not windows_path:
        return None
    drive, rest = windows_path[:2].upper(), windows_path[2:].replace("\\", "/")
    if drive == "Z:":
        return rest
    if drive == "C:":
        return os.path.join(os.environ["WINEPREFIX"], "drive_c", rest.lstrip("/"))
    raise CheckFailed("QEL_BROWSER_LOG=%s: give a Z: or C: path" % windows_path)


class Run:
    """One scenario's wizard, the demo server's flow and the logs of the run."""

    def __init__(self, args, name):
        self.name = name
        self.action, self.flow, self.refresh = SCENARIOS[name]
        self.server_log = os.path.join(args.work, "demo_server-%s.log" % name)
        self.browser_log = browser_log(os.environ.get("QEL_BROWSER_LOG")) or \
            os.path.join(args.work, "standin-%s.log" % name)
        wizard_log = os.path.join(args.work, "wizard-%s.log" % name)
        shots = glob.glob(os.path.join(OUT["shots"] or args.work, "%s-*.png" % name))
        for old in [self.server_log, self.browser_log, wizard_log] + shots:
            if os.path.exists(old):
                os.remove(old)
        self.folder = plugin_folder(args.exe)
        self.plants = args.plants
        self.holder = args.holder
        # The plug-in file that stays where it is.
        self.held = {"held": E.HELD_FILE, "link": E.LINKED_FILE}.get(name)
        # Information for the reader, printed after the scenario's result.
        self.notes = []
        self.wiz = Wizard(args.exe, args.inspect, wizard_log,
                          {"QEL_BROWSER_LOG": "Z:" + self.browser_log.replace("/", "\\")})


    def shown_lines(self, lines):
        """The log lines as this run shows them: with a plug-in file left, the
        second line of stage 2 says so."""
        if not self.held:
            return lines
        return [E.PARTLY_DELETED if i == 2 else line for i, line in enumerate(lines)]


def run_scenario(args, name):
    """One wizard run of a scenario against the demo server; 0 when it passed."""
    OUT["flow"] = name
    report("e2e: %s: started %s" % (name, time.strftime("%H:%M:%S")))
    started = time.monotonic()
    result = "FAILED"
    run = server = None
    try:
        run = Run(args, name)
        plant_files(run.folder)
        # No scenario answers from what an earlier one left in the browser cache.
        prefix_audit.clear_browser_cache(os.environ["WINEPREFIX"])
        server = run.flow and start_server(args.server, run.server_log, run.flow, run.refresh)
        run.action(run)
        result = "passed"
    except CheckFailed as e:
        report("e2e FAILED (%s): %s" % (name, e))
        shot = os.path.join(args.work, "failure-%s.png" % name)
        screenshot(shot)
        print("e2e: the screen at the failure: %s; the wizard's output: %s"
              % (shot, run.wiz.log.name if run else "none"))
    finally:
        if run:
            run.wiz.stop()
        if server:
            server.terminate()
            server.wait(timeout=10)
            server.stdout.close()
    report("e2e: %s: %s after %.0f s" % (name, result, time.monotonic() - started))
    for note in run.notes if run else []:
        report("info: " + note)
    return 0 if result == "passed" else 1


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--exe", required=True)
    ap.add_argument("--inspect", required=True)
    ap.add_argument("--server", required=True)
    ap.add_argument("--work", required=True)
    ap.add_argument("--plants", help="folder of tests/planted's program and DLL")
    ap.add_argument("--holder", help="qel_hold_file.exe, for the scenario held")
    ap.add_argument("--shots", help="folder for the screenshots (default WORK/screenshots)")
    ap.add_argument("--scenarios", "--flows", default="success,failure",
                    help="comma-separated scenarios to run: " + ", ".join(SCENARIOS))
    args = ap.parse_args()
    for var in ("WINEPREFIX", "DISPLAY"):
        if not os.environ.get(var):
            print("e2e: %s is not set (run through scripts/test.sh, or see the README)" % var)
            return 1
    # Wine runs the exes from their own folders: relative paths are made whole here.
    for opt in ("exe", "inspect", "server", "work", "shots"):
        if getattr(args, opt):
            setattr(args, opt, os.path.abspath(getattr(args, opt)))
    missing = [path for path in (args.exe, args.inspect, args.server) if not os.path.isfile(path)]
    if missing:
        print("e2e: no such file: %s (not built?)" % ", ".join(missing))
        return 1
    names = args.scenarios.split(",")
    unknown = [n for n in names if n not in SCENARIOS]
    if unknown:
        print("e2e: no scenario %s (there are %s)" % (", ".join(unknown), ", ".join(SCENARIOS)))
        return 2
    os.makedirs(args.work, exist_ok=True)
    OUT["report"] = os.path.join(args.work, "e2e-report-%s.txt" % "-".join(names))
    OUT["shots"] = args.shots or os.path.join(args.work, "screenshots")
    os.makedirs(OUT["shots"], exist_ok=True)
    if os.path.exists(OUT["report"]):
        os.remove(OUT["report"])
    return max(run_scenario(args, name) for name in names)


if __name__ == "__main__":
    sys.exit(main())
