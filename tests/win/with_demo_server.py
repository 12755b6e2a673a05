#!/usr/bin/env python3
"""Runs a command with the demo wizard server on the wizard's address
(127.0.0.1:8642), its pages moving on at once. A listing of GoogleTest cases
runs without it. Exits with the command's status.

    with_demo_server.py --server demo_server.py -- COMMAND [ARG...]
"""
import argparse
import subprocess
import sys
import tempfile
import time

PORT = "8642"


def start_server(script):
    """The demo server, once it listens; None when it cannot. A port held by another
    work tree's test run on this machine is waited for, up to 10 minutes."""
    end = time.monotonic() + 600
    told = False
    while True:
        with tempfile.TemporaryFile("w+") as errors:
            server = subprocess.Popen([sys.executable, script, PORT, "--refresh", "0",
                                       "--timeout", "900"], stdout=subprocess.PIPE,
                                      stderr=errors, text=True)
            if server.stdout.readline().startswith("demo server on"):
                return server
            server.wait()
            errors.seek(0)
            error = errors.read()
        if "Address already in use" not in error or time.monotonic() > end:
            sys.stderr.write(error)
            return None
        if not told:
            print("with_demo_server: port %s is taken (another test run?); waiting" % PORT,
                  flush=True)
            told = True
        time.sleep(1)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--server", required=True)
    ap.add_argument("command", nargs=argparse.REMAINDER)
    args = ap.parse_args()
    command = args.command[1:] if args.command[:1] == ["--"] else args.command
    if "--gtest_list_tests" in command:
        return subprocess.run(command).returncode
    server = start_server(args.server)
    if server is None:
        print("with_demo_server: no demo server on 127.0.0.1:%s (port taken?)" % PORT)
        return 1
    try:
        return subprocess.run(command).returncode
    finally:
        server.kill()
        server.wait()


if __name__ == "__main__":
    sys.exit(main())
