#!/usr/bin/env python3
"""The demo wizard server: pages, marker pages, installer, request log, bounded life."""
import os
import re
import socket
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.error
import urllib.request

SERVER = sys.argv.pop(1) if len(sys.argv) > 1 else os.path.join(
    os.path.dirname(__file__), "..", "..", "testbed", "demo_server.py")
BASE = "/plugin/wizard/"

sys.path.insert(0, os.path.dirname(os.path.abspath(SERVER)))
from demo_server import alive  # noqa: E402


class DemoServerTest(unittest.TestCase):
    def start(self, *extra):
        self.tmp = tempfile.TemporaryDirectory()
        self.log = os.path.join(self.tmp.name, "requests.log")
        self.proc = subprocess.Popen([sys.executable, SERVER, "0", "--log", self.log] +
                                     list(extra), stdout=subprocess.PIPE, text=True)
        line = self.proc.stdout.readline()
        self.port = int(re.search(r":(\d+)$", line.strip()).group(1))
        self.addCleanup(self.stop)

    def stop(self):
        if self.proc.poll() is None:
            self.proc.kill()
        self.proc.wait(timeout=10)
        self.proc.stdout.close()
        self.tmp.cleanup()

    def get(self, path):
        url = "http://127.0.0.1:%d%s" % (self.port, path)
        with urllib.request.urlopen(url, timeout=10) as r:
            return r.status, r.headers.get("Content-Type"), r.read()

    def test_pages_link_on_to_their_marker_pages(self):
        self.start()
        for page, marker in (("wizard_setup.html", "wizard_install"),
                             ("QEL_pay_wizard.html", "wizard_result")):
            status, kind, body = self.get(BASE + page)
            self.assertEqual(200, status)
            self.assertIn("euc-kr", kind)
            link = re.search(rb'HREF="([^"]+)"', body).group(1).decode()
            self.assertIn(marker, link)
            status, _, target = self.get(BASE + link)
            self.assertEqual(200, status)
            self.assertRegex(target, rb"<BODY>[^<]*</BODY>")

    def test_result_page_carries_the_result_text_exactly(self):
        self.start("--result", "n|demo failure|")
        _, _, body = self.get(BASE + "wizard_result.html")
        self.assertIn(b"<BODY>n|demo failure|</BODY>", body)
        _, _, body = self.get(BASE + "wizard_install.html")
        self.assertIn(b"<BODY>y|ok|</BODY>", body)

    def test_flows_lead_from_the_payment_page_to_their_result(self):
        self.start("--flow", "failure", "--refresh", "0")
        expect = {"success": rb"<BODY>y\|ok\|</BODY>", "failure": rb"<BODY>n\|[^<|]+\|</BODY>",
                  "frame": rb'<BODY>y\|ok\|<IFRAME SRC="(wizard_result[^"]+)"',
                  "selfnav": rb'<BODY>y\|ok\|<IFRAME SRC="(QEL_pay_frame[^"]+)"',
                  "nested": rb'<BODY>y\|ok\|<IFRAME SRC="(QEL_pay_frame[^"]+)"',
                  "nobody": rb"^<HTML>y\|ok\|</HTML>$",
                  "modern": rb'X-UA-Compatible" CONTENT="IE=edge">.*<BODY>y\|ok\|</BODY>'}
        for flow, pattern in expect.items():
            _, _, pay = self.get(BASE + "QEL_pay_wizard.html?flow=" + flow)
            self.assertLess(len(pay), 4096)
            target = re.search(rb'CONTENT="0;URL=([^"]+)"', pay).group(1).decode()
            _, _, result = self.get(BASE + target)
            found = re.search(pattern, result)
            self.assertTrue(found, (flow, result))
            if flow == "frame":
                self.assertNotIn("wizard_result", target)
                _, _, inner = self.get(BASE + found.group(1).decode())
                self.assertIn(b"<BODY>y|ok|</BODY>", inner)
            if flow == "selfnav":
                _, _, inner = self.get(BASE + found.group(1).decode())
                self.assertIn(b'CONTENT="0;URL=wizard_result.html?flow=selfnav"', inner)
            if flow == "nested":
                _, _, inner = self.get(BASE + found.group(1).decode())
                self.assertIn(b'<IFRAME SRC="wizard_result.html?flow=nested">', inner)
        _, _, pay = self.get(BASE + "QEL_pay_wizard.html?flow=stall")
        self.assertNotIn(b"Refresh", pay)
        _, _, setup = self.get(BASE + "wizard_setup.html")
        self.assertIn(b'CONTENT="0;URL=wizard_install.html"', setup)
        _, _, pay = self.get(BASE + "QEL_pay_wizard.html")
        self.assertIn(b"wizard_result.html?flow=failure", pay)  # the server's own flow

    def test_popup_flow_leads_through_the_popup_to_the_result(self):
        """The payment page's onload opens the pop-up; the pop-up moves on by itself, and its
        last page sends the opener to the result; popupstall's pop-up stays."""
        self.start("--refresh", "3")
        _, _, pay = self.get(BASE + "QEL_pay_wizard.html?flow=popup")
        self.assertNotIn(b"Refresh", pay)
        self.assertRegex(pay, rb"<SCRIPT>throw '[^']+'</SCRIPT>")
        auth = re.search(rb"<BODY onload=\"window.open\('([^']+)'", pay).group(1).decode()
        _, _, page = self.get(BASE + auth)
        done = re.search(rb'CONTENT="3;URL=([^"]+)"', page).group(1).decode()
        _, _, page = self.get(BASE + done)
        result = re.search(rb"window.opener.location='([^']+)';window.close\(\)", page)
        _, _, page = self.get(BASE + result.group(1).decode())
        self.assertIn(b"<BODY>y|ok|</BODY>", page)
        _, _, page = self.get(BASE + auth.replace("flow=popup", "flow=popupstall"))
        self.assertNotIn(b"Refresh", page)

    def test_setup_page_fails_in_the_nosetup_flow(self):
        self.start("--flow", "nosetup")
        with self.assertRaises(urllib.error.HTTPError) as e:
            self.get(BASE + "wizard_setup.html")
        self.assertEqual(500, e.exception.code)
        self.assertEqual(200, self.get(BASE + "QEL_pay_wizard.html")[0])

    def test_pages_forbid_caching_but_the_cached_flows_result_page(self):
        self.start()
        url = "http://127.0.0.1:%d%s" % (self.port, BASE)
        for page in ("wizard_setup.html", "QEL_pay_wizard.html", "QEL_pay_done.html?flow=frame",
                     "wizard_result.html", "wizard_result.html?flow=rerun",
                     "QEL_pay_wizard.html?flow=cached"):
            with urllib.request.urlopen(url + page, timeout=10) as r:
                self.assertEqual(("no-store, no-cache", "no-cache", "-1"),
                                 (r.headers["Cache-Control"], r.headers["Pragma"],
                                  r.headers["Expires"]), page)
        with urllib.request.urlopen(url + "wizard_result.html?flow=cached", timeout=10) as r:
            self.assertEqual(["max-age=3600"], r.headers.get_all("Cache-Control"))
            self.assertIsNone(r.headers["Pragma"])
            self.assertIsNone(r.headers["Expires"])

    def test_rerun_flows_fail_once_then_succeed(self):
        self.start()
        for flow in ("rerun", "cached"):
            bodies = [self.get(BASE + "wizard_result.html?flow=" + flow)[2] for _ in range(3)]
            self.assertRegex(bodies[0], rb"<BODY>n\|[^<|]+\|</BODY>", flow)
            self.assertEqual([b"<HTML><BODY>y|ok|</BODY></HTML>"] * 2, bodies[1:], flow)

    def test_late_page_holds_its_tail_until_its_frame_is_answered(self):
        self.start()
        with socket.create_connection(("127.0.0.1", self.port), timeout=10) as s:
            s.sendall(b"GET %sQEL_pay_done.html?flow=late HTTP/1.0\r\n\r\n" % BASE.encode())
            head = b""
            while b"</IFRAME>" not in head:
                chunk = s.recv(4096)
                self.assertTrue(chunk, head)
                head += chunk
            self.assertNotIn(b"</BODY>", head)
            frame = re.search(rb'<IFRAME SRC="([^"]+)"', head).group(1).decode()
            self.assertEqual(b"<HTML><BODY>y|ok|</BODY></HTML>", self.get(BASE + frame)[2])
            tail = b""
            while True:
                chunk = s.recv(4096)
                if not chunk:
                    break
                tail += chunk
        self.assertTrue(tail.endswith(b"</P></BODY></HTML>"), tail)

    def test_cookie_page_shows_the_cookie_it_was_sent_and_sets_one(self):
        self.start()
        url = "http://127.0.0.1:%d%scookie.html" % (self.port, BASE)
        with urllib.request.urlopen(url, timeout=10) as r:
            self.assertEqual("qel_visit=1; Path=" + BASE, r.headers["Set-Cookie"])
            self.assertEqual(b"<HTML><BODY>none</BODY></HTML>", r.read())
        sent = urllib.request.Request(url, headers={"Cookie": "qel_visit=1"})
        with urllib.request.urlopen(sent, timeout=10) as r:
            self.assertEqual(b"<HTML><BODY>qel_visit=1</BODY></HTML>", r.read())

    def test_installer_and_unknown_paths(self):
        self.start()
        status, kind, body = self.get(BASE + "NorvaneWizard.exe")
        self.assertEqual((200, "application/octet-stream"), (status, kind))
        self.assertTrue(body.startswith(b"MZ"))
        with self.assertRaises(urllib.error.HTTPError) as e:
            self.get(BASE + "missing.html")
        self.assertEqual(404, e.exception.code)

    def test_every_request_path_is_logged_in_order(self):
        self.start()
        self.get(BASE + "wizard_setup.html?x=1")
        self.get(BASE + "NorvaneWizard.exe")
        with self.assertRaises(urllib.error.HTTPError):
            self.get("/nothing")
        with open(self.log, encoding="utf-8") as f:
            self.assertEqual([BASE + "wizard_setup.html?x=1", BASE + "NorvaneWizard.exe",
                              "/nothing"], f.read().splitlines())

    def test_ends_by_itself_after_its_timeout(self):
        self.start("--timeout", "1")
        self.assertEqual(0, self.proc.wait(timeout=15))

    def test_ends_when_its_parent_is_gone(self):
        # The shell names itself as the parent, prints the server's pid and exits.
        out = subprocess.run(["sh", "-c", '"$0" "$1" 0 --parent $$ >/dev/null 2>&1 & echo $!',
                              sys.executable, SERVER], capture_output=True, text=True,
                             timeout=10).stdout
        pid = int(out.strip())
        end = time.monotonic() + 15
        while time.monotonic() < end and alive(pid):
            time.sleep(0.1)
        self.assertFalse(alive(pid), "server outlived its parent")


if __name__ == "__main__":
    unittest.main()
