"""What a run changes in the Wine prefix: its files under drive_c and its
registry (system.reg, user.reg, userdef.reg parsed into key/value sets),
snapshotted before and after, less the changes Wine makes on its own.

    prefix_audit.py snap PREFIX OUT.json     # a snapshot, to measure by hand
    prefix_audit.py diff BEFORE.json AFTER.json
"""
import glob
import json
import os
import re
import shutil
import subprocess
import sys

REGISTRY_FILES = ("system.reg", "user.reg", "userdef.reg")

# Changes that are not the wizard's own, each rule as narrow as the change it
# covers: (kind, pattern on the file path under drive_c or on "FILE.reg:KEY @ VALUE").
# Measured around "wine cmd /c exit", Wine's iexplore.exe on about:blank and the
# wizard's whole run, also with the browser's cache removed beforehand.
IGNORED = [
    # Wine's display driver rewrites the display adapter's and monitor's device keys at
    # every start of Wine's desktop process (driver date, link, monitor properties).
    ("key", r"^system\.reg:System\\\\CurrentControlSet\\\\Control\\\\Class\\\\"
            r"\{4D36E968-E325-11CE-BFC1-08002BE10318\}\\\\0000 @ "
            r"(DriverDateData|SymbolicLinkValue)$"),
    ("key", r"^system\.reg:System\\\\CurrentControlSet\\\\Enum\\\\DISPLAY\\\\"
            r"Default_Monitor\\\\[^ ]*\\\\Properties\\\\[^ ]* @ @$"),
    # Wine's console host, which runs the console programs the wizard starts (taskkill),
    # stores its default console settings at its first use in a prefix.
    ("key", r"^user\.reg:Console( @ \w+)?$"),
    # Internet Explorer, which the wizard starts on the installer's address, keeps
    # the download in the user's browser cache as it does for every download: the
    # cached copy of the installer, and the cache's and cookie store's indexes that
    # WinINet creates at their first use.
    ("file", r"^users/[^/]+/AppData/Local/Microsoft/Windows/INetCache/Content\.IE5/"
             r"[A-Z0-9]{8}/NorvaneWizard\[\d+\]$"),
    ("file", r"^users/[^/]+/AppData/Local/Microsoft/Windows/"
             r"(INetCache/Content\.IE5|INetCookies)/index\.dat$"),
]


# The browser's cache and cookie store in a prefix: the stand-in's pages and
# Internet Explorer's downloads are cached there, as on a customer's PC.
BROWSER_STORES = ("INetCache", "INetCookies")


def clear_browser_cache(prefix):
    """Empties the browser cache and cookie store of every user of the prefix, so that
    no run answers from what an earlier one left. No Wine program may be running."""
    for store in BROWSER_STORES:
        for path in glob.glob(os.path.join(prefix, "drive_c", "users", "*", "AppData", "Local",
                                           "Microsoft", "Windows", store)):
            shutil.rmtree(path, ignore_errors=True)


def wineserver(*options):
    subprocess.run(["wineserver"] + list(options), stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)


def settled_snapshot(prefix):
    """A snapshot once the prefix's Wine server has ended, and so written the registry
    out (it holds changes in memory until then); then a persistent server again, so
    that later Wine programs start at once."""
    wineserver("-k")
    wineserver("-w")
    snap = snapshot(prefix)
    wineserver("-p")
    return snap


def files(prefix):
    """drive_c's files and links: relative path -> (size, mtime in ns) or link target."""
    root = os.path.join(prefix, "drive_c")
    out = {}
    for folder, dirs, names in os.walk(root):
        for name in names + [d for d in dirs if os.path.islink(os.path.join(folder, d))]:
            path = os.path.join(folder, name)
            rel = os.path.relpath(path, root)
            if os.path.islink(path):
                out[rel] = "-> " + os.readlink(path)
            else:
                st = os.stat(path)
                out[rel] = "%d bytes, mtime %d" % (st.st_size, st.st_mtime_ns)
    return out


def value_name(line):
    """The name of a value line: @ for the default value, else the quoted name."""
    if line.startswith("@="):
        return "@"
    m = re.match(r'"((?:[^"\\]|\\.)*)"=', line)
    return m.group(1) if m else line


def registry(path):
    """A .reg file as {key: {value name: data}}; Wine's timestamps left out."""
    keys = {}
    current = None
    with open(path, encoding="utf-8", errors="surrogateescape") as f:
        text = f.read().replace("\\\n  ", "")
    for line in text.splitlines():
        if line.startswith("["):
            current = keys.setdefault(line[1:line.rindex("]")], {})
        elif current is not None and line and not line.startswith("#time="):
            current[value_name(line)] = line
    return keys


def snapshot(prefix):
    snap = {"file:" + p: v for p, v in files(prefix).items()}
    for name in REGISTRY_FILES:
        for key, values in registry(os.path.join(prefix, name)).items():
            where = "%s:%s" % (name, key)
            snap["key:" + where] = ""
            for value, line in values.items():
                snap["key:%s @ %s" % (where, value)] = line
    return snap


def ignored(entry):
    kind, _, where = entry.partition(":")
    return any(kind == k and re.search(p, where) for k, p in IGNORED)


def changes(before, after):
    """What differs, as sorted lines "- entry" (gone), "+ entry" (new) and "~ entry"
    (changed): (the changes that count, the ignored ones)."""
    counted, skipped = [], []
    for entry in sorted(set(before) | set(after)):
        if before.get(entry) == after.get(entry):
            continue
        mark = "-" if entry not in after else "+" if entry not in before else "~"
        (skipped if ignored(entry) else counted).append("%s %s" % (mark, entry))
    return counted, skipped


def main(argv):
    if len(argv) == 3 and argv[0] == "snap":
        with open(argv[2], "w", encoding="utf-8") as f:
            json.dump(snapshot(argv[1]), f, ensure_ascii=False)
        return 0
    if len(argv) == 3 and argv[0] == "diff":
        with open(argv[1], encoding="utf-8") as a, open(argv[2], encoding="utf-8") as b:
            counted, skipped = changes(json.load(a), json.load(b))
        print("\n".join(counted + ["ignored: " + c for c in skipped]))
        return 0
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
