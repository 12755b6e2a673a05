#!/usr/bin/env python3
"""The wizard server base address of a release, and what a built exe carries.
  scripts/release_base.py preset           prints the release preset's QEL_SERVER_BASE
  scripts/release_base.py check-base URL   exits 1, saying why, unless URL may be a
                                         release's base: https:// on a host name, no
                                         loopback, no IP address, no port but 443,
                                         nothing after the host
  scripts/release_base.py check-exe EXE URL
                                         exits 1, naming what it found, unless the exe's
                                         bytes hold addresses on URL, no http:// address
                                         and no https:// one on a loopback or IP host or
                                         another port (ASCII or UTF-16)
"""
import ipaddress
import json
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LABEL = re.compile(r"^(?!-)[a-z0-9-]{1,63}(?<!-)$")
LOOPBACK_NAMES = ("localhost", "localhost.localdomain", "ip6-localhost", "ip6-loopback")
# An address ends where its text does: a string's end, a space or a quote
# (so that code bytes that happen to spell "https://" are not taken).
ADDRESS = r"https?://[\x21-\x7e]+?(?=[\x00\t\n\r \"'<>]|$)"


def preset_base():
    with open(os.path.join(ROOT, "CMakePresets.json"), encoding="utf-8") as f:
        presets = json.load(f)["configurePresets"]
    release = [p for p in presets if p["name"] == "release"]
    return release[0].get("cacheVariables", {}).get("QEL_SERVER_BASE") if release else None


def base_fault(url):
    """Why url may not be a release's base, or None."""
    if not url.startswith("https://"):
        return "not an https:// address"
    rest = url[len("https://"):]
    if re.search(r"[/?#@\\]", rest):
        return "more than a host (a path, user name, query or backslash)"
    if rest.startswith("["):
        return "an IP address"
    host, _, port = rest.partition(":")
    if port and port != "443":
        return "port %s (a release uses 443)" % port
    host = host.lower()
    try:
        return "a loopback IP address" if ipaddress.ip_address(host).is_loopback \
            else "an IP address"
    except ValueError:
        pass
    labels = host.split(".")
    if host in LOOPBACK_NAMES or labels[-1] in ("localhost", "localdomain"):
        return "a loopback host name"
    if not all(LABEL.match(label) for label in labels):
        return "not a host name"
    if re.match(r"^(0x[0-9a-f]*|[0-9]+)$", labels[-1]):
        return "an IP address"
    if len(labels) < 2:
        return "not a fully qualified host name"
    return None


def host_fault(address):
    """Why an https address's host may not be a wizard server's, or None (the
    toolchain's own texts name web sites too)."""
    host = re.match(r"https://([^/?#]*)", address, re.IGNORECASE)
    return base_fault("https://" + host.group(1)) if host else None


def carried(data):
    """The http(s) addresses in data, ASCII and UTF-16LE, in order found."""
    found = re.findall(ADDRESS, data.decode("latin-1"), re.IGNORECASE)
    for start in (0, 1):
        text = data[start:].decode("utf-16-le", errors="replace")
        found += re.findall(ADDRESS, text, re.IGNORECASE)
    return list(dict.fromkeys(found))


def exe_fault(path, base):
    with open(path, "rb") as f:
        addresses = carried(f.read())
    ours = [a for a in addresses if a.startswith(base + "/")]
    wrong = [a for a in addresses if a.lower().startswith("http://") or host_fault(a)]
    if wrong:
        return "it carries %s" % ", ".join(wrong)
    if not ours:
        return "it carries no address on %s" % base
    return None


def main(args):
    if args == ["preset"]:
        base = preset_base()
        if not base:
            print("release_base: the release preset sets no QEL_SERVER_BASE", file=sys.stderr)
            return 1
        print(base)
        return 0
    if len(args) == 2 and args[0] == "check-base":
        fault = base_fault(args[1])
        if fault:
            print("%s: %s" % (args[1], fault))
        return 1 if fault else 0
    if len(args) == 3 and args[0] == "check-exe":
        fault = exe_fault(args[1], args[2])
        if fault:
            print("%s: %s" % (os.path.basename(args[1]), fault))
        return 1 if fault else 0
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
