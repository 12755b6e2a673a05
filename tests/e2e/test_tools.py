#!/usr/bin/env python3
"""The tools around the tests: make run's checks of QEL_DEMO_FLOW and DPI, the budget's
start-up rule replayed on recorded timer figures, the import checks (DLLs and
functions), the header read-back, the test command's totals from ctest's JUnit files
and its Wine slots."""
import os
import struct
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "testbed"))
from demo_server import FLOWS  # noqa: E402


class RunFlowTest(unittest.TestCase):
    def test_unknown_flow_stops_make_run_before_anything_starts(self):
        env = dict(os.environ, QEL_DEMO_FLOW="sucess")
        env.pop("DISPLAY", None)
        run = subprocess.run(["make", "-s", "-C", ROOT, "run"], env=env, capture_output=True,
                             text=True, timeout=60, stdin=subprocess.DEVNULL)
        self.assertNotEqual(0, run.returncode)
        self.assertIn("QEL_DEMO_FLOW=sucess", run.stderr)
        self.assertIn("valid: " + " ".join(FLOWS), run.stderr)
        # Nothing was set up, built or started: the check's line is all run.sh said.
        self.assertEqual("", run.stdout)
        self.assertEqual(1, sum(line.startswith("run:") for line in run.stderr.splitlines()))

    def test_a_dpi_that_is_no_number_stops_make_run_before_anything_starts(self):
        env = dict(os.environ)
        env.pop("DISPLAY", None)
        for dpi in ("12O", "0", "1000"):
            run = subprocess.run(["make", "-s", "-C", ROOT, "run", "DPI=" + dpi], env=env,
                                 capture_output=True, text=True, timeout=60,
                                 stdin=subprocess.DEVNULL)
            self.assertNotEqual(0, run.returncode, dpi)
            self.assertIn("DPI=%s is no system DPI" % dpi, run.stderr)
            self.assertEqual("", run.stdout)


# Timer output as qel_budget_timer prints it (the single starts left out).
def timer_output(wizard, plain):
    return ("medians %.1f %.1f\nrange A %.1f %.1f\nrange B %.1f %.1f\n"
            % (wizard, plain, wizard - 40, wizard + 70, plain - 30, plain + 50))


class StartupRatioTest(unittest.TestCase):
    """startup_ratio of scripts/budget.sh with its Wine measurement replaced by recorded ones."""

    def ratio(self, *measurements, preset="win64"):
        with tempfile.TemporaryDirectory() as tmp:
            for i, (wizard, plain) in enumerate(measurements, 1):
                with open(os.path.join(tmp, "%d.txt" % i), "w") as f:
                    f.write(timer_output(wizard, plain))
            script = """
                . scripts/budget.sh
                logs=$REC rounds=15 preset=$PRESET
                time_startup() {
                    local k=$(( $(cat "$REC/taken" 2>/dev/null || echo 0) + 1 ))
                    echo $k >"$REC/taken"
                    cat "$REC/$k.txt" 2>/dev/null || echo "no recording $k"
                }
                startup_ratio
                echo "status $status"
            """
            run = subprocess.run(["bash", "-c", script], cwd=ROOT, capture_output=True,
                                 text=True, timeout=60, env=dict(os.environ, REC=tmp, PRESET=preset))
            with open(os.path.join(tmp, "taken")) as f:
                taken = int(f.read())
        self.assertEqual("", run.stderr)
        lines = run.stdout.splitlines()
        shown = [line for line in lines if line.startswith("budget: start-up measurement")]
        self.assertEqual(taken, len(shown))
        return taken, lines[-2], lines[-1]

    def test_noise_over_the_bound_is_measured_again(self):
        # The figures of the red run, then the one a moment later.
        taken, verdict, status = self.ratio((276, 236), (241, 236))
        self.assertEqual(2, taken)
        self.assertRegex(verdict, r"^budget: start-up .*: 1\.169, 1\.021 \(bound .*\) — ok$")
        self.assertEqual("status 0", status)

    def test_within_the_bound_at_once(self):
        taken, verdict, status = self.ratio((250, 236), (400, 236))
        self.assertEqual(1, taken)
        self.assertTrue(verdict.endswith("— ok"), verdict)
        self.assertEqual("status 0", status)

    def test_three_successive_measurements_over_the_bound_fail(self):
        taken, verdict, status = self.ratio((276, 236), (280, 240), (300, 250), (200, 236))
        self.assertEqual(3, taken)
        self.assertRegex(verdict, r"^budget: FAILED: start-up .*: 1\.169, 1\.167, 1\.200 ")
        self.assertEqual("status 1", status)

    def test_the_shipped_exe_under_32_bit_wine_has_its_own_bound(self):
        taken, verdict, status = self.ratio((276, 236), (200, 236), preset="win32")
        self.assertEqual(1, taken)
        self.assertRegex(verdict, r": 1\.169 \(bound 1\.30 .*\) — ok$")
        taken, verdict, status = self.ratio((320, 236), (330, 240), (325, 245), preset="win32")
        self.assertEqual((3, "status 1"), (taken, status))

    def test_once_over_one_and_a_half_fails_at_once(self):
        for recorded, count in ((((360, 236), (200, 236)), 1),
                                (((276, 236), (360, 236), (200, 236)), 2)):
            taken, verdict, status = self.ratio(*recorded)
            self.assertEqual(count, taken)
            self.assertTrue(verdict.startswith("budget: FAILED: start-up"), verdict)
            self.assertEqual("status 1", status)


class ImportCheckTest(unittest.TestCase):
    """scripts/imports.sh, the one import check of the test command and the budget,
    over an objdump that prints a recorded import table."""

    def check(self, *dlls):
        with tempfile.TemporaryDirectory() as tmp:
            objdump = os.path.join(tmp, "objdump")
            with open(objdump, "w") as f:
                f.write("#!/bin/sh\n")
                for dll in dlls:
                    f.write("echo '\tDLL Name: %s'\n" % dll)
            os.chmod(objdump, 0o755)
            run = subprocess.run([os.path.join(ROOT, "scripts", "imports.sh"), objdump, "x.exe"],
                                 capture_output=True, text=True, timeout=30)
        return run.returncode, run.stdout.splitlines()

    def test_known_dlls_pass_in_any_case(self):
        self.assertEqual((0, ["KERNEL32.dll USER32.dll msvcrt.dll", ""]),
                         self.check("KERNEL32.dll", "USER32.dll", "msvcrt.dll"))

    def test_a_dll_outside_the_list_is_named(self):
        self.assertEqual((1, ["KERNEL32.dll COMCTL32.DLL", "COMCTL32.DLL"]),
                         self.check("KERNEL32.dll", "COMCTL32.DLL"))

    def test_an_unreadable_table_fails(self):
        self.assertEqual((1, ["", ""]), self.check())


def pe_check(*args):
    run = subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "pe_check.py")] + list(args),
                         capture_output=True, text=True, timeout=30)
    return run.returncode, run.stdout.strip()


class FunctionImportCheckTest(unittest.TestCase):
    """scripts/pe_check.py imports, against the project's list, on made-up import tables."""

    LIST = os.path.join(ROOT, "scripts", "imports_xp.txt")

    def check(self, *imports):
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, "summary.txt")
            with open(path, "w") as f:
                f.write("dll characteristics 0xc540\n")
                f.writelines("import %s\n" % line for line in imports)
            return pe_check("imports", self.LIST, "--summary", path)

    def test_functions_of_windows_xp_pass(self):
        self.assertEqual((0, "ok: 3 functions from 2 DLLs, each on the list and in Windows XP SP3"),
                         self.check("kernel32.dll GetTickCount", "kernel32.dll Sleep",
                                    "user32.dll SetTimer"))

    def test_a_vista_function_is_named_with_its_windows(self):
        self.assertEqual((1, "FAILED: kernel32.dll!GetTickCount64 needs Windows Vista, newer than "
                             "XP SP3"),
                         self.check("kernel32.dll GetTickCount", "kernel32.dll GetTickCount64"))

    def test_a_function_off_the_list_is_named(self):
        code, line = self.check("kernel32.dll GetFinalPathNameByHandleW", "user32.dll SetTimer",
                                "kernel32.dll GetTickCount64")
        self.assertEqual(1, code)
        self.assertEqual("FAILED: kernel32.dll!GetFinalPathNameByHandleW is not on the list; "
                         "kernel32.dll!GetTickCount64 needs Windows Vista, newer than XP SP3", line)

    def test_no_imports_fail(self):
        self.assertEqual((1, "FAILED: no imports read"), self.check())


def pe_image(dll_characteristics, subsystem=(4, 0), relocations=12, symbols=()):
    """A minimal PE32 image based at 0x400000: headers, a code section at 0x401000
    whose first instruction calls 0x401080, the relocation directory, and a COFF
    symbol table holding symbols, its string table at the end."""
    pe, optional_size = 0x40, 224
    sections = pe + 24 + optional_size
    data = bytearray(0x400)
    data[0:2] = b"MZ"
    struct.pack_into("<I", data, 0x3C, pe)
    data[pe:pe + 4] = b"PE\0\0"
    table = len(data) if symbols else 0
    struct.pack_into("<HHIIIHH", data, pe + 4, 0x14C, 2, 0, table, len(symbols), optional_size,
                     0x102)
    optional = pe + 24
    struct.pack_into("<H", data, optional, 0x10B)
    struct.pack_into("<I", data, optional + 28, 0x400000)
    struct.pack_into("<HH", data, optional + 48, *subsystem)
    struct.pack_into("<HH", data, optional + 68, 2, dll_characteristics)
    struct.pack_into("<I", data, optional + 92, 16)
    struct.pack_into("<II", data, optional + 96 + 8 * 5, 0x2000, relocations)
    struct.pack_into("<8sIIII12xI", data, sections, b".text", 0x100, 0x1000, 0x100, 0x200,
                     0x60000020)
    struct.pack_into("<8sIIII12xI", data, sections + 40, b".reloc", 0x100, 0x2000, 0x100, 0x300,
                     0x42000040)
    struct.pack_into("<Bi", data, 0x200, 0xE8, 0x401080 - 0x401005)
    strings = bytearray(4)
    for name in symbols:
        if len(name) <= 8:
            data += struct.pack("<8s10x", name.encode())
        else:
            data += struct.pack("<II10x", 0, len(strings))
            strings += name.encode() + b"\0"
    struct.pack_into("<I", strings, 0, len(strings))
    return bytes(data + strings)


class HeaderCheckTest(unittest.TestCase):
    """scripts/pe_check.py header on made-up images and link maps."""

    HARDENED = 0x400 | 0x100 | 0x40 | 0x8000
    MAP = "                0x00401080                __stack_chk_fail\n"

    def check(self, image, link_map=None):
        with tempfile.TemporaryDirectory() as tmp:
            exe = os.path.join(tmp, "x.exe")
            with open(exe, "wb") as f:
                f.write(image)
            args = ["header", exe]
            if link_map is not None:
                args += ["--map", os.path.join(tmp, "x.map")]
                with open(args[-1], "w") as f:
                    f.write(link_map)
            return pe_check(*args)

    def test_a_hardened_image_passes_from_its_symbols_and_its_link_map(self):
        self.assertEqual((0, "ok: NO_SEH 0x400; NX 0x100; DYNAMIC_BASE 0x40 with 12 bytes of "
                             "relocations; TERMINAL_SERVER_AWARE 0x8000; subsystem version 4.00 "
                             "(at most 5.01); stack guard __stack_chk_guard in the symbol table; "
                             "stack protector: 1 checks calling __stack_chk_fail (link map)"),
                         self.check(pe_image(self.HARDENED, symbols=["_main", "___stack_chk_guard"]),
                                    self.MAP))
        code, line = self.check(pe_image(self.HARDENED), self.MAP)
        self.assertEqual(0, code, line)

    def test_each_missing_flag_is_named(self):
        for flag, name in ((0x400, "NO_SEH"), (0x100, "NX"), (0x40, "DYNAMIC_BASE"),
                           (0x8000, "TERMINAL_SERVER_AWARE")):
            code, line = self.check(pe_image(self.HARDENED & ~flag), self.MAP)
            self.assertEqual(1, code, name)
            self.assertRegex(line, "^FAILED: %s 0x" % name)

    def test_no_relocations_a_newer_subsystem_or_no_stack_protector_fail(self):
        self.assertRegex(self.check(pe_image(self.HARDENED, relocations=0), self.MAP)[1],
                         "^FAILED: DYNAMIC_BASE 0x40 with 0 bytes")
        self.assertRegex(self.check(pe_image(self.HARDENED, subsystem=(6, 0)), self.MAP)[1],
                         r"^FAILED: subsystem version 6\.00")
        self.assertRegex(self.check(pe_image(self.HARDENED, symbols=["___stack_chk_fail"]))[1],
                         "^FAILED: stack guard __stack_chk_guard")
        self.assertRegex(self.check(pe_image(self.HARDENED), self.MAP.replace("1080", "1090"))[1],
                         "^FAILED: stack protector: 0 checks")
        self.assertRegex(self.check(pe_image(self.HARDENED))[1],
                         "^FAILED: stack guard: stripped exe and no link map")


class JunitTotalsTest(unittest.TestCase):
    """scripts/junit_totals.py on a JUnit file as ctest 3.25 writes it."""

    CASES = """<?xml version="1.0" encoding="UTF-8"?>
<testsuite name="(empty)" tests="6" failures="1" disabled="0" skipped="3">
  <testcase name="ok" status="run"><system-out></system-out></testcase>
  <testcase name="bad" status="fail"><failure message=""/></testcase>
  <testcase name="code" status="notrun"><skipped message="SKIP_RETURN_CODE=77"/></testcase>
  <testcase name="gtest" status="notrun"><skipped message="SKIP_REGULAR_EXPRESSION_MATCHED"/></testcase>
  <testcase name="missing" status="notrun"><skipped message="Unable to find executable"/></testcase>
  <testcase name="also" status="run"/>
</testsuite>"""

    def totals(self, text):
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, "t.xml")
            if text is not None:
                with open(path, "w") as f:
                    f.write(text)
            run = subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "junit_totals.py"),
                                  path], capture_output=True, text=True, timeout=30)
        return run.stdout.strip()

    def test_passed_failed_and_skipped_as_ctest_counts_them(self):
        self.assertEqual("2 2 2", self.totals(self.CASES))

    def test_no_file_or_a_cut_file_is_a_failure(self):
        self.assertEqual("0 1 0", self.totals(None))
        self.assertEqual("0 1 0", self.totals(self.CASES[:200]))


class WineSlotTest(unittest.TestCase):
    """scripts/in_slot.sh over two slots made by hand (no network namespace)."""

    IN_SLOT = os.path.join(ROOT, "scripts", "in_slot.sh")

    def in_slot(self, env, script):
        """Starts SCRIPT in a slot; returns the process and the prefix it was given."""
        proc = subprocess.Popen([self.IN_SLOT, "sh", "-c", 'echo "$WINEPREFIX"; ' + script],
                                env=env, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                text=True)
        return proc, proc.stdout.readline().strip()

    def test_a_slot_each_and_none_kept_by_what_a_command_leaves_running(self):
        with tempfile.TemporaryDirectory() as tmp:
            for i in range(2):
                os.makedirs(os.path.join(tmp, str(i), "prefix"))
                with open(os.path.join(tmp, str(i), "display"), "w") as f:
                    f.write(":%d\n" % (90 + i))
            env = dict(os.environ, QEL_SLOTS=tmp)
            held, first = self.in_slot(env, "exec cat")
            # The command ends at once, leaving a process behind (as a Wine server is).
            left, second = self.in_slot(env, "exec 3<&0; cat <&3 >/dev/null &")
            left.wait(timeout=30)
            try:
                again = subprocess.run([self.IN_SLOT, "sh", "-c", 'echo "$WINEPREFIX"'],
                                       env=env, capture_output=True, text=True, timeout=30)
            finally:
                for proc in (held, left):
                    proc.stdin.close()
                    proc.stdout.close()
                held.wait(timeout=30)
            self.assertEqual([os.path.join(tmp, "0", "prefix"), os.path.join(tmp, "1", "prefix")],
                             [first, second])
            self.assertEqual(second, again.stdout.strip())
        env = dict(os.environ, WINEPREFIX="/by/hand")
        env.pop("QEL_SLOTS", None)
        alone = subprocess.run([self.IN_SLOT, "sh", "-c", 'echo "$WINEPREFIX"'], env=env,
                               capture_output=True, text=True, timeout=30)
        self.assertEqual("/by/hand", alone.stdout.strip())


if __name__ == "__main__":
    unittest.main()
