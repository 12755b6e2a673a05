#!/usr/bin/env python3
"""Checks of the shipped exe that no test run can make here (no 32-bit Windows runs).

  scripts/pe_check.py imports LIST EXE
      Every function the exe imports is on LIST (scripts/imports_xp.txt: DLL,
      function, oldest Windows that exports it) and exported by Windows XP SP3.
  scripts/pe_check.py imports LIST --summary FILE
      The same over the "import DLL FUNCTION" lines of scripts/pe_summary.py.
  scripts/pe_check.py header EXE [--map MAP]
      The header read back: NO_SEH, NX, DYNAMIC_BASE with relocations,
      TERMINAL_SERVER_AWARE, subsystem version at most 5.01, and the stack
      protector: __stack_chk_guard in the exe's symbol table (when it has
      one) and, with the link map MAP (whose addresses hold for a stripped
      exe too), direct calls to __stack_chk_fail in the exe's code.

Prints one line that starts with "ok:" or "FAILED:" and names what passed or
each function or field that failed. Exit status 0, 1 on a failure, 2 on
unreadable input.
"""
import os
import re
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pe_summary  # noqa: E402

# Windows releases in order; an entry of the list names one of them.
RELEASES = ["95", "NT4", "2000", "XP", "XPSP2", "XPSP3", "Vista", "7", "8", "8.1", "10"]
OLDEST_TARGET = "XPSP3"

NO_SEH, NX_COMPAT, DYNAMIC_BASE, TS_AWARE = 0x400, 0x100, 0x40, 0x8000
RELOCS_STRIPPED = 0x0001
MAX_SUBSYSTEM = (5, 1)


class Unreadable(Exception):
    pass


def read_list(path):
    """{(dll, function): release} from the list; a malformed line is unreadable."""
    allowed = {}
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            fields = line.split("#", 1)[0].split()
            if not fields:
                continue
            if len(fields) != 3 or fields[2] not in RELEASES:
                raise Unreadable("%s:%d: not 'DLL FUNCTION RELEASE'" % (path, number))
            allowed[(fields[0].lower(), fields[1])] = fields[2]
    return allowed


def check_imports(allowed, imports):
    """The failures (one text each) of imports, a list of (dll, function)."""
    limit = RELEASES.index(OLDEST_TARGET)
    failures = []
    for dll, function in imports:
        release = allowed.get((dll.lower(), function))
        if release is None:
            failures.append("%s!%s is not on the list" % (dll, function))
        elif RELEASES.index(release) > limit:
            failures.append("%s!%s needs Windows %s, newer than XP SP3" % (dll, function, release))
    return failures


def imports_of(args):
    if len(args) == 2 and args[0] == "--summary":
        with open(args[1], encoding="utf-8") as f:
            lines = f.read().splitlines()
    elif len(args) == 1 and not args[0].startswith("--"):
        with open(args[0], "rb") as f:
            lines = list(pe_summary.imports(pe_summary.Image(f.read())))
    else:
        raise Unreadable("usage")
    return [tuple(line.split()[1:3]) for line in lines if line.startswith("import ")]


def run_imports(args):
    allowed = read_list(args[0])
    imports = imports_of(args[1:])
    if not imports:
        return 1, "FAILED: no imports read"
    failures = check_imports(allowed, imports)
    dlls = len({dll for dll, _ in imports})
    if failures:
        return 1, "FAILED: %s" % "; ".join(failures)
    return 0, "ok: %d functions from %d DLLs, each on the list and in Windows XP SP3" % (
        len(imports), dlls)


def coff_symbols(data):
    """Names in the COFF symbol table (empty for a stripped image)."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    table, count = struct.unpack_from("<II", data, pe + 12)
    if not table or not count:
        return set()
    strings = table + 18 * count
    names = set()
    index = 0
    while index < count:
        at = table + 18 * index
        raw = data[at:at + 8]
        if raw[:4] == b"\0\0\0\0":
            start = strings + struct.unpack_from("<I", raw, 4)[0]
            raw = data[start:data.index(b"\0", start)]
        names.add(raw.split(b"\0", 1)[0].decode("latin-1"))
        index += 1 + data[at + 17]
    return names


def map_address(path, name):
    """The address the link map gives the symbol name (leading underscores aside)."""
    with open(path, encoding="latin-1") as f:
        for line in f:
            found = re.match(r"\s+0x([0-9a-f]+)\s+(\S+)\s*$", line)
            if found and found.group(2).lstrip("_") == name:
                return int(found.group(1), 16)
    return None


def calls_to(image, target):
    """How many direct calls (E8 rel32) in the executable sections go to target."""
    data = image.data
    pe = image.u32(0x3C)
    optional = pe + 24
    base = (struct.unpack_from("<Q", data, optional + 24)[0] if image.pe32plus
            else image.u32(optional + 28))
    table = optional + image.u16(pe + 20)
    count = 0
    for i, (_, vaddr, raw_size, raw_ptr) in enumerate(image.sections):
        if not image.u32(table + 40 * i + 36) & 0x20000000:  # IMAGE_SCN_MEM_EXECUTE
            continue
        at = data.find(b"\xE8", raw_ptr, raw_ptr + raw_size - 4)
        while at >= 0:
            following = base + vaddr + at - raw_ptr + 5
            if (following + struct.unpack_from("<i", data, at + 1)[0]) & 0xFFFFFFFF == target:
                count += 1
            at = data.find(b"\xE8", at + 1, raw_ptr + raw_size - 4)
    return count


def run_header(args):
    if len(args) not in (1, 3) or (len(args) == 3 and args[1] != "--map"):
        raise Unreadable("usage")
    with open(args[0], "rb") as f:
        data = f.read()
    image = pe_summary.Image(data)
    pe = image.u32(0x3C)
    optional = pe + 24
    characteristics = image.u16(pe + 22)
    subsystem = (image.u16(optional + 48), image.u16(optional + 50))
    flags = image.dll_characteristics
    relocs = image.directories[5][1] if len(image.directories) > 5 else 0

    passed, failed = [], []

    def need(ok, text):
        (passed if ok else failed).append(text)

    need(flags & NO_SEH, "NO_SEH 0x400")
    need(flags & NX_COMPAT, "NX 0x100")
    need(flags & DYNAMIC_BASE and relocs and not characteristics & RELOCS_STRIPPED,
         "DYNAMIC_BASE 0x40 with %d bytes of relocations" % relocs)
    need(flags & TS_AWARE, "TERMINAL_SERVER_AWARE 0x8000")
    need(subsystem <= MAX_SUBSYSTEM, "subsystem version %d.%02d (at most 5.01)" % subsystem)
    symbols = coff_symbols(data)
    if symbols:
        need(any(name.lstrip("_") == "stack_chk_guard" for name in symbols),
             "stack guard __stack_chk_guard in the symbol table")
    if len(args) == 3:
        target = map_address(args[2], "stack_chk_fail")
        calls = calls_to(image, target) if target is not None else 0
        need(calls, "stack protector: %d checks calling __stack_chk_fail (link map)" % calls)
    elif not symbols:
        need(False, "stack guard: stripped exe and no link map")
    if failed:
        return 1, "FAILED: %s (passed: %s)" % ("; ".join(failed), "; ".join(passed))
    return 0, "ok: %s" % "; ".join(passed)


def main():
    commands = {"imports": run_imports, "header": run_header}
    if len(sys.argv) < 3 or sys.argv[1] not in commands:
        sys.stderr.write(__doc__)
        return 2
    try:
        status, line = commands[sys.argv[1]](sys.argv[2:])
    except Unreadable as e:
        if str(e) == "usage":
            sys.stderr.write(__doc__)
        print("FAILED: %s" % e)
        return 2
    except (OSError, ValueError, struct.error, IndexError) as e:
        print("FAILED: %s" % e)
        return 2
    print(line)
    return status


if __name__ == "__main__":
    sys.exit(main())
