#!/usr/bin/env python3
"""The stand-in browser under Wine: puts the freshly built DLL where the
prefix's registration names it, serves the wizard pages, runs the GoogleTest
exe, then checks the call log (every object released, live count 0) and the
server's request log.

    standin_test.py --wine LOADER --exe EXE --dll DLL --arch x86|x64 --server demo_server.py --work DIR
"""
import argparse
import collections
import os
import re
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import prefix_audit  # noqa: E402


def main():
    ap = argparse.ArgumentParser()
    for name in ("--wine", "--exe", "--dll", "--arch", "--server", "--work"):
        ap.add_argument(name, required=True)
    args = ap.parse_args()
    prefix = os.environ.get("WINEPREFIX")
    if not prefix:
        sys.exit("standin_test: WINEPREFIX is not set (source scripts/winenv.sh)")
    dest = os.path.join(prefix, "drive_c", "qel", "standin", args.arch)
    os.makedirs(dest, exist_ok=True)
    shutil.copyfile(args.dll, os.path.join(dest, "QelStandin.dll"))

    # The browser cache and cookies start empty, whatever ran before.
    prefix_audit.clear_browser_cache(prefix)
    os.makedirs(args.work, exist_ok=True)
    call_log = os.path.join(args.work, "standin-calls.log")
    request_log = os.path.join(args.work, "standin-requests.log")
    for path in (call_log, request_log):
        if os.path.exists(path):
            os.remove(path)
    server = subprocess.Popen([sys.executable, args.server, "0", "--log", request_log,
                               "--timeout", "120"], stdout=subprocess.PIPE, text=True)
    try:
        port = re.search(r":(\d+)$", server.stdout.readline().strip()).group(1)
        env = dict(os.environ, QEL_DEMO_BASE="http://127.0.0.1:%s" % port,
                   QEL_BROWSER_LOG="Z:" + call_log.replace("/", "\\"))
        env.pop("QEL_BROWSER", None)
        rc = subprocess.run([args.wine, args.exe], env=env, timeout=120).returncode
    finally:
        server.kill()
        server.wait()
    failures = []
    if rc != 0:
        failures.append("the test exe failed (%d)" % rc)
    with open(call_log, encoding="utf-8", errors="replace") as f:
        lines = f.read().splitlines()
    made = collections.Counter(re.findall(r"\] new (\S+)", "\n".join(lines)))
    freed = collections.Counter(re.findall(r"\] free (\S+)", "\n".join(lines)))
    if not made or made != freed:
        failures.append("objects never released: %s" % " ".join(sorted(made - freed)))
    lives = [line for line in lines if "] live " in line]
    if not lives or " live 0 " not in lives[-1]:
        failures.append("last live count: %s" % (lives[-1] if lives else "none"))
    with open(request_log, encoding="utf-8") as f:
        requests = f.read()
    for page in ("wizard_setup.html", "wizard_install.html", "QEL_pay_wizard.html?flow=frame",
                 "QEL_pay_done.html?flow=frame", "wizard_result.html?flow=frame"):
        if "/plugin/wizard/" + page not in requests:
            failures.append("no GET of %s" % page)
    print("standin_test: %d objects made and released; requests:\n%s" % (sum(made.values()), requests))
    for failure in failures:
        print("standin_test: FAILED: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
