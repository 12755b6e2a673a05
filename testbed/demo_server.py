#!/usr/bin/env python3
"""Demo wizard server on loopback: the setup page, the payment-test page,
their marker pages and a dummy installer. Standard library only.

    demo_server.py [PORT] [--log FILE] [--timeout SECONDS] [--parent PID]
                   [--result TEXT] [--flow FLOW] [--refresh SECONDS]

The setup page moves on by itself (a meta refresh after --refresh seconds) to
its marker page "wizard_install.html"; the payment-test page to a page chosen
by the flow (--flow, else $QEL_DEMO_FLOW, else success; a "flow" query on the
page's address chooses for one request, and the pages pass it on):

    success  "wizard_result.html", body exactly the --result text (y|ok|)
    failure  "wizard_result.html", body "n|...|"
    frame    "QEL_pay_done.html", whose body holds the result text and an
             iframe on "wizard_result.html" (the marker load is the frame's)
    nobody   "wizard_result.html" without body tags (the browser implies them)
    modern   "wizard_result.html" asking for a modern document mode
             (X-UA-Compatible IE=edge, by meta tag and header): the browser
             then writes its tags in lower case, so the wizard finds no result
    selfnav  "QEL_pay_done.html", whose iframe page moves on by itself (a meta
             refresh inside the frame) to "wizard_result.html"
    nested   "QEL_pay_done.html", whose iframe page holds an iframe on
             "wizard_result.html" (the marker load is the inner frame's)
    nosetup  like success, but the setup page answers 500: the browser shows
             its error page until the user closes the dialog
    late     "QEL_pay_done.html" as in frame, but its tail (after the iframe)
             is held back until the frame's page has been answered, and half
             a second more (10 s at most when the frame is never asked for):
             the marker frame completes while its page is still arriving
    rerun    "wizard_result.html", whose verdict changes between runs: the
             first answer fails ("n|...|"), every later one is the --result text
    cached   as rerun, but the result page may be cached for an hour
             ("Cache-Control: max-age=3600" instead of the headers below)
    stall    none: the payment-test page stays
    popup    the payment-test page opens the card company's authentication
             page in a pop-up (window.open in its onload, after an inline
             script that fails: a script error); the pop-up moves on by itself
             to "QEL_pay_auth_done.html", which sends its opener to
             "wizard_result.html" (the --result text) and closes itself
    popupstall  as popup, but the authentication page stays: the pop-up is
             left open and the payment-test page with it
    scheme   the setup page refreshes to file:///C:/windows/win.ini and holds
             a frame on an application protocol (ms-msdt:) and a frame on
             "QEL_setup_frame.html", which moves on by itself (a meta refresh
             of twice the delay) to the marker page "wizard_install.html";
             the payment test as in success

"cookie.html" shows the Cookie header it was sent ("none" without one) and
sets the cookie qel_visit=1, so that a browser's cookie store can be seen at
work.

Every page it serves, but the cached flow's result page, carries the headers
the contract asks of the result page so that no browser answers it from its
cache: "Cache-Control: no-store,
no-cache", "Pragma: no-cache", "Expires: -1".

Each request path is appended to the log file, one per line. The server ends
after --timeout seconds, or when its parent (or --parent) process is gone.
"""
import argparse
import http.server
import os
import sys
import threading
import time
import urllib.parse

BASE = "/plugin/wizard/"
FLOWS = ("success", "failure", "frame", "nobody", "modern", "selfnav", "nested", "nosetup",
         "late", "rerun", "cached", "stall", "popup", "popupstall", "scheme")
NO_CACHE = (("Cache-Control", "no-store, no-cache"), ("Pragma", "no-cache"), ("Expires", "-1"))
CACHEABLE = (("Cache-Control", "max-age=3600"),)
# The late flow's page: how long its tail waits for the frame, and after it.
LATE_WAIT, LATE_AFTER = 10, 0.5
HTML = "text/html; charset=euc-kr"
HEAD = """<HTML><HEAD><META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=euc-kr">
%s<TITLE>%s</TITLE></HEAD>
"""
REFRESH = '<META HTTP-EQUIV="Refresh" CONTENT="%s;URL=%s">\n'
MODERN = '<META HTTP-EQUIV="X-UA-Compatible" CONTENT="IE=edge">'
FAILURE = "n|결제 테스트 승인이 거절되었습니다.|"

SETUP_BODY = """<BODY>카드사 인증 플러그인을 설치합니다. 잠시만 기다려 주십시오.
<A HREF="wizard_install.html">설치 완료</A></BODY></HTML>
"""

PAY_BODY = """<BODY>결제 테스트를 진행합니다. 잠시만 기다려 주십시오.
%s</BODY></HTML>
"""

# The popup flows' payment-test page: a script error, then the pop-up.
POPUP_PAY_BODY = """<SCRIPT>throw '카드사 모듈을 찾을 수 없습니다.'</SCRIPT>
<BODY onload="window.open('QEL_pay_auth.html?flow=%s', 'auth', 'width=400,height=300')">
결제 테스트를 진행합니다. 카드사 인증 창에서 인증을 마쳐 주십시오.</BODY></HTML>
"""
AUTH_BODY = "<BODY>카드사 인증을 진행하고 있습니다.</BODY></HTML>\n"
AUTH_DONE_BODY = ("""<BODY onload="window.opener.location='wizard_result.html?flow=%s';"""
                  """window.close()">카드사 인증이 완료되었습니다.</BODY></HTML>\n""")
# The scheme flow's setup page: a refresh to a local file, a frame on an
# application protocol, and a frame that reaches the marker page by itself.
LOCAL_FILE = "file:///C:/windows/win.ini"
PROTOCOL_FRAME = "ms-msdt:/id PCWDiagnostic /skip force"
SCHEME_SETUP_BODY = """<BODY>카드사 인증 플러그인을 설치합니다. 잠시만 기다려 주십시오.
<IFRAME SRC="%s" WIDTH="0" HEIGHT="0"></IFRAME>
<IFRAME SRC="QEL_setup_frame.html?flow=scheme" WIDTH="0" HEIGHT="0"></IFRAME></BODY></HTML>
""" % PROTOCOL_FRAME

INSTALLER = b"MZ" + b"\0" * 62 + b"NorvaneWizard demo installer\r\n"


# What the late flow's page holds after its iframe.
LATE_TAIL = "<P>결제 결과를 확인했습니다.</P>"


def marker_page(result):
    return "<HTML><BODY>%s</BODY></HTML>" % result


def pay_target(flow):
    if flow in ("stall", "popup", "popupstall"):
        return None
    page = ("QEL_pay_done.html" if flow in ("frame", "selfnav", "nested", "late")
            else "wizard_result.html")
    return "%s?flow=%s" % (page, flow)


def popup_page(path, flow, result, refresh):
    """The popup flows' pages and the scheme flow's setup pages, or None."""
    if path == BASE + "QEL_pay_wizard.html" and flow in ("popup", "popupstall"):
        return HEAD % ("", "결제 테스트") + POPUP_PAY_BODY % flow
    if path == BASE + "QEL_pay_auth.html" and flow in ("popup", "popupstall"):
        meta = REFRESH % (refresh, "QEL_pay_auth_done.html?flow=" + flow) if flow == "popup" else ""
        return HEAD % (meta, "카드사 인증") + AUTH_BODY
    if path == BASE + "QEL_pay_auth_done.html" and flow == "popup":
        return HEAD % ("", "카드사 인증 완료") + AUTH_DONE_BODY % flow
    if path == BASE + "wizard_setup.html" and flow == "scheme":
        return HEAD % (REFRESH % (refresh, LOCAL_FILE), "카드사 인증 플러그인 설치") + SCHEME_SETUP_BODY
    if path == BASE + "QEL_setup_frame.html" and flow == "scheme":
        return (HEAD % (REFRESH % (2 * refresh, "wizard_install.html?flow=scheme"), "설치 확인")
                + "<BODY>설치를 확인하고 있습니다.</BODY></HTML>\n")
    return None


def page(path, flow, result, refresh):
    """(content type, bytes) of a path, or None."""
    special = popup_page(path, flow, result, refresh)
    if special is not None:
        return HTML, special.encode("cp949")
    if path == BASE + "wizard_setup.html":
        text = HEAD % (REFRESH % (refresh, "wizard_install.html"), "카드사 인증 플러그인 설치")
        text += SETUP_BODY
    elif path == BASE + "QEL_pay_wizard.html":
        target = pay_target(flow)
        meta = REFRESH % (refresh, target) if target else ""
        link = '<A HREF="%s">결제 완료</A>' % target if target else ""
        text = HEAD % (meta, "결제 테스트") + PAY_BODY % link
    elif path == BASE + "QEL_pay_done.html":
        inner = "QEL_pay_frame.html" if flow in ("selfnav", "nested") else "wizard_result.html"
        text = (HEAD % ("", "결제 결과") + '<BODY>%s<IFRAME SRC="%s?flow=%s" '
                'WIDTH="0" HEIGHT="0"></IFRAME>%s</BODY></HTML>'
                % (result, inner, flow, LATE_TAIL if flow == "late" else ""))
    elif path == BASE + "QEL_pay_frame.html" and flow == "nested":
        text = HEAD % ("", "결제 처리") + ('<BODY>결제를 처리하고 있습니다.<IFRAME SRC='
                                         '"wizard_result.html?flow=nested"></IFRAME></BODY></HTML>\n')
    elif path == BASE + "QEL_pay_frame.html":
        text = HEAD % (REFRESH % (refresh, "wizard_result.html?flow=" + flow), "결제 처리")
        text += "<BODY>결제를 처리하고 있습니다.</BODY></HTML>\n"
    elif path == BASE + "wizard_install.html":
        text = marker_page("y|ok|")
    elif path == BASE + "wizard_result.html":
        text = {"failure": marker_page(FAILURE),
                "nobody": "<HTML>%s</HTML>" % result,
                "modern": "<HTML><HEAD>%s</HEAD><BODY>%s</BODY></HTML>" % (MODERN, result)
                }.get(flow, marker_page(result))
    elif path == BASE + "NorvaneWizard.exe":
        return "application/octet-stream", INSTALLER
    else:
        return None
    return HTML, text.encode("cp949")


class Handler(http.server.BaseHTTPRequestHandler):
    server_version = "QelDemo/1.0"

    def do_GET(self):
        self._answer(True)

    def do_HEAD(self):
        self._answer(False)

    def _answer(self, body):
        path, _, query = self.path.partition("?")
        self.server.record(self.path)
        flow = urllib.parse.parse_qs(query).get("flow", [self.server.flow])[0]
        flow = flow if flow in FLOWS else self.server.flow
        if flow == "nosetup" and path == BASE + "wizard_setup.html":
            self.send_error(500)
            return
        if path == BASE + "cookie.html":
            self._cookie(body)
            return
        result = self.server.result
        is_result = path == BASE + "wizard_result.html"
        if flow in ("rerun", "cached") and is_result and body:
            result = FAILURE if self.server.count(flow) == 1 else result
        found = page(path, flow, result, self.server.refresh)
        if found is None:
            self.send_error(404)
            return
        kind, data = found
        self.send_response(200)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(data)))
        for name, value in CACHEABLE if flow == "cached" and is_result else NO_CACHE:
            self.send_header(name, value)
        if flow == "modern" and is_result:
            self.send_header("X-UA-Compatible", "IE=edge")
        self.end_headers()
        if not body:
            return
        late = flow == "late" and path == BASE + "QEL_pay_done.html"
        if late:
            # The page as far as its iframe, then the tail once the frame has been answered.
            head = len(data) - len((LATE_TAIL + "</BODY></HTML>").encode("cp949"))
            self.server.frame_answered.clear()
            self.wfile.write(data[:head])
            self.wfile.flush()
            self.server.frame_answered.wait(LATE_WAIT)
            time.sleep(LATE_AFTER)
            data = data[head:]
        self.wfile.write(data)
        self.wfile.flush()
        if flow == "late" and is_result:
            self.server.frame_answered.set()

    def _cookie(self, body):
        data = marker_page(self.headers.get("Cookie", "none")).encode("cp949")
        self.send_response(200)
        self.send_header("Content-Type", HTML)
        self.send_header("Content-Length", str(len(data)))
        self.send_header("Set-Cookie", "qel_visit=1; Path=" + BASE)
        for name, value in NO_CACHE:
            self.send_header(name, value)
        self.end_headers()
        if body:
            self.wfile.write(data)

    def log_message(self, fmt, *args):
        pass


class DemoServer(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self, port, log_path, result, flow="success", refresh=2):
        super().__init__(("127.0.0.1", port), Handler)
        self.result = result
        self.flow = flow
        self.refresh = refresh
        self.log_path = log_path
        self.lock = threading.Lock()
        self.frame_answered = threading.Event()
        self.served = {}

    def count(self, flow):
        """How many result pages of the flow have been served, this one included."""
        with self.lock:
            self.served[flow] = self.served.get(flow, 0) + 1
            return self.served[flow]

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
    ap.add_argument("--flow", choices=FLOWS, default=os.environ.get("QEL_DEMO_FLOW") or "success",
                    help="where the payment-test page leads (default $QEL_DEMO_FLOW or success)")
    ap.add_argument("--refresh", type=int, default=2,
                    help="seconds before a page moves on to the next (meta refresh)")
    args = ap.parse_args(argv)
    server = DemoServer(args.port, args.log, args.result, args.flow, args.refresh)
    print("demo server on http://127.0.0.1:%d" % server.server_address[1], flush=True)
    threading.Thread(target=watch, args=(server, args.timeout, args.parent),
                     daemon=True).start()
    server.serve_forever(poll_interval=0.2)
    server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
