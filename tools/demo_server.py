#!/usr/bin/env python3
"""Demo wizard server on loopback: the setup page, the payment-test page,
their marker pages and a dummy installer. Standard library only.

    demo_server.py [PORT] [--log FILE] [--timeout SECONDS] [--parent PID] [--result TEXT]

Each request path is appended to the log file, one per line. The server ends
after --timeout seconds, or when its parent (or --parent) process is gone.
"""
import argparse
import http.server
import os
import sys
import threading
import time

BASE = "/plugin/wizard/"

SETUP_PAGE = """<HTML><HEAD><META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=euc-kr">
<TITLE>카드사 인증 플러그인 설치</TITLE></HEAD>
<BODY>카드사 인증 플러그인을 설치합니다.
<A HREF="wizard_install.html">설치 완료</A></BODY></HTML>
"""

PAY_PAGE = """<HTML><HEAD><META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=euc-kr">
<TITLE>결제 테스트</TITLE></HEAD>
<BODY>결제 테스트를 진행합니다.
<A HREF="wizard_result.html">결제 완료</A></BODY></HTML>
"""

INSTALLER = b"MZ" + b"\0" * 62 + b"NorvaneWizard demo installer\r\n"


def marker_page(result):
    return "<HTML><BODY>%s</BODY></HTML>" % result


def routes(result):
    html = "text/html; charset=euc-kr"
    return {
        BASE + "wizard_setup.html": (html, SETUP_PAGE.encode("cp949")),
        BASE + "QEL_pay_wizard.html": (html, PAY_PAGE.encode("cp949")),
        BASE + "wizard_install.html": (html, marker_page("y|ok|").encode("cp949")),
        BASE + "wizard_result.html": (html, marker_page(result).encode("cp949")),
        BASE + "NorvaneWizard.exe": ("application/octet-stream", INSTALLER),
    }


class Handler(http.server.BaseHTTPRequestHandler):
    server_version = "QelDemo/1.0"

    def do_GET(self):
        self._answer(True)

    def do_HEAD(self):
        self._answer(False)

    def _answer(self, body):
        path = self.path.split("?", 1)[0]
        self.server.record(self.path)
        found = self.server.pages.get(path)
        if found is None:
            self.send_error(404)
            return
        kind, data = found
        self.send_response(200)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(data)))
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        if body:
            self.wfile.write(data)

    def log_message(self, fmt, *args):
        pass


class DemoServer(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self, port, log_path, result):
        super().__init__(("127.0.0.1", port), Handler)
        self.pages = routes(result)
        self.log_path = log_path
        self.lock = threading.Lock()

    def record(self, path):
        if not self.log_path:
            return
        with self.lock, open(self.log_path, "a", encoding="utf-8") as f:
            f.write(path + "\n")


def alive(pid):
    try:
        with open("/proc/%d/stat" % pid) as f:
            return f.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False


def watch(server, timeout, parent):
    end = time.monotonic() + timeout if timeout else None
    while True:
        time.sleep(0.2)
        if end is not None and time.monotonic() >= end:
            break
        if not alive(parent):
            break
    server.shutdown()


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("port", nargs="?", type=int, default=8642)
    ap.add_argument("--log", help="file to which each request path is appended")
    ap.add_argument("--timeout", type=float, default=0, help="seconds until the server ends")
    ap.add_argument("--parent", type=int, default=os.getppid(),
                    help="process whose end ends the server (default: the parent)")
    ap.add_argument("--result", default="y|ok|", help="body text of the result page")
    args = ap.parse_args(argv)
    server = DemoServer(args.port, args.log, args.result)
    print("demo server on http://127.0.0.1:%d" % server.server_address[1], flush=True)
    threading.Thread(target=watch, args=(server, args.timeout, args.parent),
                     daemon=True).start()
    server.serve_forever(poll_interval=0.2)
    server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
