#!/usr/bin/env python3
"""The tools around the tests: make run's checks of QEL_DEMO_FLOW and DPI, and the budget's
start-up rule replayed on recorded timer figures."""
import os
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tools"))
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
    """startup_ratio of tools/budget.sh with its Wine measurement replaced by recorded ones."""

    def ratio(self, *measurements, preset="win64"):
        with tempfile.TemporaryDirectory() as tmp:
            for i, (wizard, plain) in enumerate(measurements, 1):
                with open(os.path.join(tmp, "%d.txt" % i), "w") as f:
                    f.write(timer_output(wizard, plain))
            script = """
                . tools/budget.sh
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

if __name__ == "__main__":
    unittest.main()
