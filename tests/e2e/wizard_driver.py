"""Drives the wizard like a user: reads its windows through the inspector
under Wine, clicks and types through xdotool on the test's X display."""
import difflib
import json
import os
import select
import subprocess
import time


class CheckFailed(Exception):
    pass


def wine():
    """The Wine loader that runs the exes under test (scripts/winenv.sh chooses it)."""
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


def check_near(what, expected, actual, within):
    if abs(actual - expected) > within:
        raise CheckFailed("%s: expected %g s (within %g s), got %.1f s"
                          % (what, expected, within, actual))


def centre(rect):
    left, top, right, bottom = rect
    return (left + right) // 2, (top + bottom) // 2


class Wizard:
    """One run of the wizard exe and the view the inspector gives of it."""

    def __init__(self, exe, inspector, log_path, env=None):
        self.exe = exe
        self.inspector = inspector
        self.log = open(log_path, "ab")
        self.env = dict(os.environ, **(env or {}))
        self.proc = None
        # One inspector for the run's looks (qel_inspect --serve): a Wine process each
        # would cost more than the look.
        self.looker = None

    def start(self):
        focus_root()
        self.proc = subprocess.Popen([wine(), self.exe], stdin=subprocess.DEVNULL,
                                     stdout=self.log, stderr=self.log, env=self.env,
                                     cwd=os.path.dirname(self.exe))

    def running(self):
        return self.proc is not None and self.proc.poll() is None

    def windows(self, *options):
        """The dialogs the inspector reports (the wizard's, unless options say otherwise),
        or None when it could not read them."""
        try:
            data = json.loads(self.look(options).decode("utf-8"))
        except (subprocess.TimeoutExpired, ValueError) as e:
            self.log.write(b"inspector: %s\n" % str(e).encode())
            return None
        if data.get("hung"):
            self.log.write(b"inspector: the wizard did not answer\n")
            return None
        return data.get("windows") or []

    def look(self, options):
        """The inspector's JSON line for options: from the serving inspector, started
        again when it has gone (a Wine server restarted ends it), or from one of its own."""
        if not any(" " in o for o in options):
            try:
                return self.served(options)
            except OSError as e:
                self.log.write(b"inspector: the serving one failed: %s\n" % str(e).encode())
                self.stop_looker()
        return subprocess.run([wine(), self.inspector] + list(options), stdin=subprocess.DEVNULL,
                              capture_output=True, timeout=15).stdout

    def served(self, options):
        if self.looker is None or self.looker.poll() is not None:
            self.looker = subprocess.Popen([wine(), self.inspector, "--serve"],
                                           stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                           stderr=subprocess.DEVNULL)
        self.looker.stdin.write((" ".join(options) + "\n").encode())
        self.looker.stdin.flush()
        if not select.select([self.looker.stdout], [], [], 15)[0]:
            self.stop_looker()
            raise subprocess.TimeoutExpired("qel_inspect --serve", 15)
        line = self.looker.stdout.readline()
        if not line:
            raise OSError("the serving inspector ended")
        return line

    def stop_looker(self):
        if self.looker is not None:
            self.looker.kill()
            self.looker.wait(timeout=30)
            self.looker.stdin.close()
            self.looker.stdout.close()
            self.looker = None

    def inspect(self, *options):
        """The wizard's main window as the inspector reports it, or None."""
        windows = self.windows(*options)
        return windows[0] if windows else None

    def post_syscommand(self, command):
        """Posts WM_SYSCOMMAND to the wizard from outside, as its system menu would."""
        return self.inspect("--post-syscommand", str(command))

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
        self.stop_looker()
        if self.running():
            self.proc.kill()
            self.proc.wait(timeout=30)
        self.close_browsers()
        self.log.close()


def focus_root():
    """Gives X's input focus to the root window, so that keys go to the window under the
    pointer as on a fresh X server: a Wine virtual desktop that closed earlier in the
    session leaves the focus on no window, and every key is lost."""
    info = subprocess.run(["xwininfo", "-root"], stdin=subprocess.DEVNULL,
                          capture_output=True, text=True, timeout=30).stdout
    root = info.split("Window id:")[1].split()[0]
    subprocess.run(["xdotool", "windowfocus", root], check=True, timeout=30)


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


def dismiss(dialog, at=(4, 4)):
    """Closes a dialog as a user would: a click on its background (at this offset
    from its top left corner), then Esc."""
    left, top, _, _ = dialog["rect"]
    click_at(left + at[0], top + at[1])
    subprocess.run(["xdotool", "key", "Escape"], check=True, timeout=30)


def drag(x, y, dx, dy, steps=4):
    """Presses the left button at (x, y), moves it by (dx, dy) in steps, releases it."""
    cmd = ["xdotool", "mousemove", "--sync", str(x), str(y), "mousedown", "1"]
    for i in range(1, steps + 1):
        cmd += ["sleep", "0.1", "mousemove", str(x + dx * i // steps), str(y + dy * i // steps)]
    subprocess.run(cmd + ["sleep", "0.1", "mouseup", "1"], check=True, timeout=30)


def wine_processes(name):
    """Pids of the processes of this Wine prefix that run the program (by its file name)."""
    prefix = "WINEPREFIX=%s" % os.environ["WINEPREFIX"]
    found = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/cmdline" % pid, "rb") as f:
                program = f.read().split(b"\0")[0].decode("utf-8", "replace")
            with open("/proc/%s/environ" % pid, "rb") as f:
                environ = f.read().decode("utf-8", "replace").split("\0")
        except OSError:
            continue
        if program.replace("\\", "/").split("/")[-1].lower() == name.lower() \
                and prefix in environ:
            found.append(int(pid))
    return found
