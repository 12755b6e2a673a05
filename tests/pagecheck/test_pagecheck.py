#!/usr/bin/env python3
"""pagecheck against the server contract: every example page passes with what its rule
says, each broken rule is warned about, and unusable input exits 2.
  test_pagecheck.py PAGECHECK CONTRACT.md"""
import re
import subprocess
import sys
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


class Unusable(unittest.TestCase):
    def test_exit_2(self):
        self.assertEqual(2, pagecheck("<body>y|ok|</body>")[0])
        self.assertEqual(2, pagecheck("<body>y|ok|</body>", "--address", "wizard_result")[0])
        self.assertEqual(2, pagecheck(None, "--address", RESULT, "/nonexistent/page.html")[0])
        self.assertEqual(2, pagecheck("<body>\0</body>", "--address", RESULT)[0])


if __name__ == "__main__":
    PAGECHECK, CONTRACT = sys.argv[1:3]
    unittest.main(argv=sys.argv[:1], verbosity=2)
