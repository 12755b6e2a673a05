#!/usr/bin/env python3
"""pagecheck against the server contract: every example page passes with what its rule
says, each broken rule is warned about, and unusable input exits 2.
  test_pagecheck.py PAGECHECK CONTRACT.md"""
import os
import re
import subprocess
import sys
import tempfile
import unittest

PAGECHECK = CONTRACT = None
RESULT = "https://plugin.norvane.co.kr/plugin/wizard/wizard_result.html"

# Per rule of the contract whose example page stands in it: the line pagecheck must print.
RULE_EXPECTS = {
    2: "setup page dialog: ends on this load",
    3: 'body text: "y|ok|"',
    5: "payment-test dialog: ends when this page's frame "
       "https://plugin.norvane.co.kr/plugin/wizard/wizard_result.html completes",
    6: "document mode: 7 (default)",
    7: "payment-test dialog: shows the page and goes on",
    9: "meta refresh: https://plugin.norvane.co.kr/plugin/wizard/wizard_result.html after 2 s",
    13: "meta refresh: https://plugin.norvane.co.kr/plugin/wizard/wizard_install.html after 2 s",
}


def pagecheck(page, *args):
    run = subprocess.run([PAGECHECK, *args], input=page.encode("cp949") if page is not None
                         else b"", capture_output=True, timeout=30)
    return run.returncode, run.stdout.decode("cp949", "replace")


def examples():
    """(rule number, address, page) for each example of the contract."""
    found = []
    with open(CONTRACT, encoding="utf-8") as f:
        text = f.read()
    for section in re.split(r"^## ", text, flags=re.M)[1:]:
        number = int(section.split(".", 1)[0])
        for m in re.finditer(r"served at\s+`([^`]+)`.*?```html\n(.*?)```", section, re.S):
            found.append((number, m.group(1), m.group(2)))
    return found


class ContractExamples(unittest.TestCase):
    def test_each_rule_passes_on_its_example(self):
        pages = examples()
        self.assertEqual(sorted(RULE_EXPECTS), sorted({n for n, _, _ in pages}))
        for number, address, page in pages:
            with self.subTest(rule=number):
                rc, out = pagecheck(page, "--address", address)
                self.assertEqual(0, rc, out)
                self.assertIn("no rule of the server's contract broken", out)
                self.assertIn(RULE_EXPECTS[number], out)


class Warnings(unittest.TestCase):
    def check(self, page, warning, *args, rc=1):
        got, out = pagecheck(page, "--address", RESULT, *args)
        self.assertEqual(rc, got, out)
        self.assertRegex(out, r"(?m)^warning: .*" + re.escape(warning), out)

    def test_each_broken_rule(self):
        self.check('<html><body bgcolor="white">y|ok|</body></html>', "has attributes")
        modern = ('<html><head><meta http-equiv="X-UA-Compatible" content="IE=edge"></head>'
                  '<body class="r">y|ok|</body></html>')
        self.check(modern, "document mode 11")
        self.check(modern, "has attributes")
        self.check("<html><body>y|ok|</body></html>", "document mode 9",
                   "--compatible", "IE=9")
        self.check('<html><frameset><frame src="a.html"></frameset></html>', "frameset")
        self.check("<html><body>y</body></html>", 'no "|" after its flag', rc=0)
        self.check("<html><body>y|ok|" + "x" * 4096 + "</body></html>", "keep both under 4096",
                   rc=0)

    def test_korean_text_and_its_charset(self):
        page = "<html><body>n|결제 거절|</body></html>"
        rc, out = pagecheck(page, "--address", RESULT)
        self.assertEqual(1, rc, out)
        self.assertIn('body text: "n|결제 거절|"', out)
        rc, out = pagecheck(page, "--address", RESULT, "--charset", "utf-8")
        self.assertNotIn("결제", out)  # code-page-949 bytes read as UTF-8 are not the text


def padded(size, body="y|ok|"):
    """A result page of exactly size bytes: the padding is a comment after the body."""
    page = "<html><body>" + body + "</body><!---->"
    page = page[:-3] + "x" * (size - len(page) - len("</html>")) + "-->"
    return page + "</html>"


class ErrorAnswers(unittest.TestCase):
    """--status: the control's error page up to the threshold, the server's own above it."""

    def test_threshold_on_both_sides(self):
        for status, threshold in ((500, 512), (404, 512), (403, 256), (410, 256)):
            with self.subTest(status=status):
                page = padded(threshold)
                self.assertEqual(threshold, len(page))
                rc, out = pagecheck(page, "--address", RESULT, "--status", str(status))
                self.assertEqual(1, rc, out)
                self.assertIn("the control shows its own error page at res://ieframe.dll/", out)
                self.assertIn("#" + RESULT, out)
                rc, out = pagecheck(padded(threshold + 1), "--address", RESULT, "--status",
                                    str(status))
                self.assertEqual(0, rc, out)
                self.assertIn("verdict: success", out)
                self.assertRegex(out, r"(?m)^warning: the answer's status is %d, .*a SUCCESS on "
                                      r"an error answer$" % status)

    def test_statuses_without_an_error_page_and_markers_of_the_failed_address(self):
        rc, out = pagecheck("<html><body>n|busy|</body></html>", "--address", RESULT,
                            "--status", "503")
        self.assertEqual(1, rc, out)
        self.assertIn('body text: "n|busy|"', out)
        self.assertIn("no error page of its own for this status", out)
        rc, out = pagecheck("", "--address", RESULT.replace("wizard_result", "wizard_install"),
                            "--status", "404")
        self.assertIn("setup page dialog: ends on the error page", out)
        rc, out = pagecheck("", "--address", RESULT.replace("wizard_result", "QEL_pay_wizard"),
                            "--status", "404")
        self.assertEqual(0, rc, out)
        self.assertIn("payment-test dialog: shows the error page until its time-out", out)
        self.assertRegex(out, r"(?m)^warning: status 404 with a page of at most 512 bytes")
        self.assertEqual(2, pagecheck("<body>y|ok|</body>", "--address", RESULT,
                                      "--status", "20x")[0])


class CacheHeaders(unittest.TestCase):
    """--headers: a result page whose headers let the control cache it is warned about."""
    DATE = "Date: Wed, 09 Dec 2026 12:00:00 GMT"

    def check(self, headers, cached, address=RESULT):
        with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False) as f:
            f.write("HTTP/1.1 200 OK\r\n" + "".join(h + "\r\n" for h in headers) + "\r\n")
        try:
            rc, out = pagecheck("<html><body>y|ok|</body></html>", "--address", address,
                                "--headers", f.name)
        finally:
            os.unlink(f.name)
        self.assertEqual(0, rc, out)
        warned = re.search(r"(?m)^warning: the payment test reads this page and its headers "
                           r"let the control cache it", out) is not None
        self.assertEqual(cached, warned, (headers, out))
        return out

    def test_what_keeps_a_result_page_out_of_the_cache(self):
        for headers in (["Cache-Control: no-store"], ["Cache-Control: private, No-Cache"],
                        ["Cache-Control: max-age=0"], ["Expires: -1"], ["Expires: 0"],
                        [self.DATE, "Expires: Wed, 09 Dec 2026 12:00:00 GMT"],
                        [self.DATE, "Expires: Thu, 01 Jan 1970 00:00:00 GMT"],
                        [self.DATE, "Expires: Wed Dec  9 11:59:59 2026"]):
            with self.subTest(headers=headers):
                self.assertIn("cache: the headers make the control ask the server again",
                              self.check(headers, False))

    def test_what_lets_it_be_cached(self):
        for headers in ([], ["Pragma: no-cache"], ['Cache-Control: no-cache="Set-Cookie"'],
                        ["Cache-Control: max-age=60", "Expires: -1"],
                        [self.DATE, "Expires: Wed, 09 Dec 2026 12:00:01 GMT"],
                        [self.DATE, "Expires: Wednesday, 09-Dec-26 12:00:01 GMT"],
                        [self.DATE, "Expires: Wed Dec  9 12:00:01 2026"],
                        ["Last-Modified: Wed, 09 Dec 2026 11:00:00 GMT"]):
            with self.subTest(headers=headers):
                self.check(headers, True)
        out = self.check([], False, RESULT.replace("wizard_result", "QEL_pay_wizard"))
        self.assertIn("cache: no Cache-Control", out)

    def test_status_and_charset_come_from_the_headers(self):
        with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False) as f:
            f.write("HTTP/1.1 302 Found\r\nLocation: x\r\n\r\n"
                    "HTTP/1.1 500 Internal Server Error\r\nContent-Type: text/html; "
                    "charset=utf-8\r\n\r\n")
        try:
            rc, out = pagecheck("<body>y|ok|</body>", "--address", RESULT, "--headers", f.name)
            self.assertEqual(1, rc, out)
            self.assertIn("answer: status 500", out)
            rc, out = pagecheck(padded(600), "--address", RESULT, "--headers", f.name)
            self.assertIn("read as UTF-8", out)
        finally:
            os.unlink(f.name)


class Schemes(unittest.TestCase):
    """A link, form, frame or refresh to a scheme the wizard cancels is warned about, each
    once; the web's schemes, the control's own and relative addresses are not."""

    def test_each_way_out_of_the_web(self):
        page = ('<html><head><meta http-equiv="refresh" content="1;URL=file:///C:/windows/'
                'win.ini"></head><body>y|ok|<iframe src="ms-msdt:/id PCWDiagnostic"></iframe>'
                '<a href=" Search-MS:query=x">a</a><form action="mk:@MSITStore:x.chm"></form>'
                '<area href="telnet://h">')
        rc, out = pagecheck(page, "--address", RESULT)
        self.assertEqual(0, rc, out)
        warned = re.findall(r"(?m)^warning: a (\w+) leads to .*the scheme (\S+) \(it allows "
                            r"http:, https:, about:, javascript:, res:\)$", out)
        self.assertEqual([("frame", "ms-msdt"), ("link", "search-ms"), ("form", "mk"),
                          ("link", "telnet"), ("refresh", "file")], warned)

    def test_allowed_and_relative_addresses(self):
        page = ('<html><body>y|ok|<a href="HTTPS://x/">a</a><a href="javascript:void(0)">b</a>'
                '<iframe src="about:blank"></iframe><a href="res://ieframe.dll/x.htm">c</a>'
                '<form action="pay.html?a=b:c"></form><a href="./c:d">d</a></body></html>')
        rc, out = pagecheck(page, "--address", RESULT)
        self.assertEqual(0, rc, out)
        self.assertNotIn("leads to", out)


class Unusable(unittest.TestCase):
    def test_exit_2(self):
        self.assertEqual(2, pagecheck("<body>y|ok|</body>")[0])
        self.assertEqual(2, pagecheck("<body>y|ok|</body>", "--address", "wizard_result")[0])
        self.assertEqual(2, pagecheck(None, "--address", RESULT, "/nonexistent/page.html")[0])
        self.assertEqual(2, pagecheck("<body>\0</body>", "--address", RESULT)[0])


if __name__ == "__main__":
    PAGECHECK, CONTRACT = sys.argv[1:3]
    unittest.main(argv=sys.argv[:1], verbosity=2)
