#!/usr/bin/env bash
# Demo: builds the exe and runs the wizard under Wine against the demo server
# on 127.0.0.1:8642, its pages shown by the stand-in browser (calls logged to
# $QEL_BROWSER_LOG, else build/standin-run.log; QEL_BROWSER=system for Wine's
# own control). The exe is the win32 one, or the win64 one where 32-bit
# programs cannot run. QEL_DEMO_FLOW chooses where the payment test leads
# (a flow of testbed/demo_server.py, see its FLOWS; default success).
# With $DISPLAY the wizard runs there for a person to click through. Without
# one, the end-to-end driver plays the flow on a private Xvfb and saves a
# screenshot per stage in build/screenshots, named after the flow.
# QEL_DPI (make run DPI=N) is the system DPI the Wine prefix reports for the run
# (96 by default; 120 and 144 are what Windows gives a program at 125 and 150 %);
# the prefix is set back to 96 when the run ends.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 1
flow=${QEL_DEMO_FLOW:-success}
flows=$(python3 -c 'import sys; sys.path.insert(0, "testbed"); import demo_server
print(" ".join(demo_server.FLOWS))') || exit 1
if ! grep -qxF -- "$flow" <<<"${flows// /$'\n'}"; then
    echo "run: QEL_DEMO_FLOW=$flow is no flow of the demo server; valid: $flows" >&2
    exit 2
fi

dpi=${QEL_DPI:-96}
if ! [[ "$dpi" =~ ^[0-9]+$ ]] || [ "$dpi" -lt 48 ] || [ "$dpi" -gt 480 ]; then
    echo "run: DPI=$dpi is no system DPI; give a number from 48 to 480 (96, 120, 144)" >&2
    exit 2
fi

. scripts/winenv.sh
build=$root/build
server=
watcher=

cleanup() {
    for pid in $watcher $server; do
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    if [ "$dpi" != 96 ] && qel_wine_usable; then
        qel_wine_dpi 96
    fi
    qel_winenv_stop
}
trap cleanup EXIT

scripts/setup.sh "$build" || exit 1
qel_winenv "$build"
qel_wine_usable || { echo "run: Wine cannot run here: $(qel_wine_reason)" >&2; exit 1; }
preset=$QEL_WINE_PRESET
exe=$build/$preset/app/QelPluginWizard.exe
cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" || exit 1
[ -f "$exe" ] || { echo "run: $exe was not built" >&2; exit 1; }
qel_standin_install "$preset" || exit 1
echo "run: $exe under $QEL_WINE, flow $flow, $dpi DPI"

# Stage 2 opens the installer's address in a hidden Internet Explorer; Wine's
# shows its window over the wizard, where a customer's PC shows a small
# download prompt. Once the demo server has served the installer, that window
# is ended as the customer's click on the prompt would.
end_installer_browser() {
    local log=$1 installer
    installer=$(python3 -c 'import sys; sys.path.insert(0, "tests/e2e"); import expected
print(expected.INSTALLER)') || return
    until grep -qsF -- "$installer" "$log"; do
        sleep 0.5
    done
    "$QEL_WINE" taskkill /F /IM iexplore.exe >/dev/null 2>&1
    echo "run: the demo server served the installer; Wine's browser window on it was ended"
}

# For a person on $DISPLAY: the wizard until they close it.
run_on_display() {
    local requests=$build/demo_server.log
    rm -f "$requests"
    /usr/bin/env python3 testbed/demo_server.py 8642 --log "$requests" --flow "$flow" \
        >"$build/demo_server.out" 2>&1 &
    server=$!
    until grep -qs '^demo server on' "$build/demo_server.out"; do
        if ! kill -0 "$server" 2>/dev/null; then
            echo "run: the demo server did not start: $(tail -n 1 "$build/demo_server.out")" >&2
            return 1
        fi
        sleep 0.1
    done
    if [ -z "${QEL_BROWSER_LOG:-}" ]; then
        rm -f "$build/standin-run.log"
        export QEL_BROWSER_LOG=Z:${build//\//\\}\\standin-run.log
    fi
    end_installer_browser "$requests" &
    watcher=$!
    echo "run: the wizard is on $DISPLAY; close it to end (browser log: $QEL_BROWSER_LOG)"
    "$QEL_WINE" "$exe" >"$build/wizard-run.log" 2>&1
}

# Without a display: the flow, played by the end-to-end driver.
run_headless() {
    local shots=$build/screenshots
    qel_xvfb_start || exit 1
    qel_wine_warmup
    rm -rf "$shots"
    /usr/bin/env python3 tests/e2e/e2e_wizard.py --scenarios "$flow" --exe "$exe" \
        --inspect "$build/$preset/testbed/inspector/qel_inspect.exe" \
        --server "$root/testbed/demo_server.py" --work "$build/run" --shots "$shots"
    local rc=$?
    echo "run: screenshots of each stage in $shots:"
    ls "$shots"
    return $rc
}

if [ "$dpi" != 96 ]; then
    qel_wine_dpi "$dpi" || { echo "run: the prefix's DPI could not be set to $dpi" >&2; exit 1; }
fi
if [ -n "${DISPLAY:-}" ]; then
    run_on_display
else
    run_headless
fi
