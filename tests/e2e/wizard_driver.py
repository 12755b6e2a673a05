"""Drives the wizard like a user: reads its windows through the inspector
under Wine, clicks and types through xdotool on the test's X display."""
import difflib
import json
import os
import subprocess
import time


class CheckFailed(Exception):
    pass


def wine():
    """The Wine loader that runs the exes under test (tools/winenv.sh chooses it)."""
    return os.environ.get("QEL_WINE") or "wine"


def poll(what, probe, timeout, interval=0.25):
    """Calls probe until it returns something true; fails after timeout seconds."""
    end = time.monotonic() + timeout
    last = None
    while True:
        last = probe()
        if last:
            return last
        if time.monotonic() >= end:
            raise CheckFailed("timed out after %gs waiting for %s" % (timeout, what))
        time.sleep(interval)


def diff_lines(what, expected, actual):
    if expected == actual:
        return
    text = "\n".join(difflib.unified_diff(
        [repr(s) for s in expected], [repr(s) for s in actual],
        "expected " + what, "actual " + what, lineterm=""))
    raise CheckFailed("%s differ (%d expected, %d shown):\n%s"
                      % (what, len(expected), len(actual), text))


def check(what, expected, actual):
    if expected != actual:
        raise CheckFailed("%s: expected %r, got %r" % (what, expected, actual))


def centre(rect):
    left, top, right, bottom = rect
    return (left + right) // 2, (top + bottom) // 2


class Wizard:
    """One run of the wizard exe and the view the inspector gives of it."""

    def __init__(self, exe, inspector, log_path):
        self.exe = exe
        self.inspector = inspector
        self.log = open(log_path, "ab")
        self.proc = None

    def start(self):
        self.proc = subprocess.Popen([wine(), self.exe], stdin=subprocess.DEVNULL,
                                     stdout=self.log, stderr=self.log,
                                     cwd=os.path.dirname(self.exe))

    def running(self):
        return self.proc is not None and self.proc.poll() is None

    def inspect(self):
        """The wizard's main window as the inspector reports it, or None."""
        try:
            run = subprocess.run([wine(), self.inspector], stdin=subprocess.DEVNULL,
                                 capture_output=True, timeout=15)
            data = json.loads(run.stdout.decode("utf-8"))
        except (subprocess.TimeoutExpired, ValueError) as e:
            self.log.write(b"inspector: %s\n" % str(e).encode())
            return None
        if data.get("hung"):
            self.log.write(b"inspector: the wizard did not answer\n")
            return None
        windows = data.get("windows") or []
        return windows[0] if windows else None

    def close_browsers(self):
        """Ends every Internet Explorer (Wine's shows its window even when started hidden)."""
        subprocess.run([wine(), "taskkill", "/F", "/IM", "iexplore.exe"],
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=60)

    def shown(self, title):
        """True once X shows a window with this title (asks X, not Wine)."""
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % title],
                               stdin=subprocess.DEVNULL, capture_output=True, timeout=30)
        return found.returncode == 0 and bool(found.stdout.strip())

    def stop(self):
        if self.running():
            self.proc.kill()
            self.proc.wait(timeout=30)
        self.close_browsers()
        self.log.close()


def screenshot(path):
    """Saves the whole X screen, to see what the user would have seen."""
    subprocess.run(["import", "-window", "root", path], stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)


def control(window, ident):
    for c in window["controls"]:
        if c["id"] == ident:
            return c
    raise CheckFailed("control %d is missing from the wizard window" % ident)


def visible_owned(window):
    return [w for w in window.get("owned", []) if w["visible"]]


def click_at(x, y):
    subprocess.run(["xdotool", "mousemove", "--sync", str(x), str(y), "click", "1"],
                   check=True, timeout=30)


def click_control(window, ident):
    click_at(*centre(control(window, ident)["rect"]))


def dismiss(dialog):
    """Closes a dialog as a user would: a click on its background, then Esc."""
    left, top, _, _ = dialog["rect"]
    click_at(left + 4, top + 4)
    subprocess.run(["xdotool", "key", "Escape"], check=True, timeout=30)
