#!/usr/bin/env python3
"""Totals of a ctest JUnit file (ctest --output-junit): prints "PASSED FAILED SKIPPED".
A test skipped by its own skip code or regular expression counts as skipped; one
ctest could not start (no executable) as failed, as ctest's own summary has it.
A missing or unreadable file is one failure.
    junit_totals.py FILE"""
import sys
import xml.etree.ElementTree as ET


def totals(path):
    try:
        cases = ET.parse(path).getroot().iter("testcase")
    except (OSError, ET.ParseError):
        return 0, 1, 0
    passed = failed = skipped = 0
    for case in cases:
        status = case.get("status")
        skip = case.find("skipped")
        if status == "run":
            passed += 1
        elif status == "disabled" or (
                status == "notrun" and skip is not None
                and skip.get("message", "").startswith("SKIP_")):
            skipped += 1
        else:
            failed += 1
    return passed, failed, skipped


if __name__ == "__main__":
    print("%d %d %d" % totals(sys.argv[1]))
