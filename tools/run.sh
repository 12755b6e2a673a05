#!/usr/bin/env bash
# Demo: builds the exe and runs the wizard under Wine against the demo server
# on 127.0.0.1:8642, its pages shown by the stand-in browser (calls logged to
# build/standin-run.log; QEL_BROWSER=system for Wine's own control). The exe is
# the win32 one, or the win64 one where 32-bit programs cannot run.
# With $DISPLAY the wizard runs there for a person to click through;
# QEL_DEMO_FLOW chooses where the payment test leads (success, failure, frame,
# nobody, stall). Without one, the end-to-end driver plays the success path on
# a private Xvfb and saves a screenshot per stage in build/screenshots.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 1
. tools/winenv.sh
build=$root/build
server=

cleanup() {
    if [ -n "$server" ]; then
        kill "$server" 2>/dev/null
        wait "$server" 2>/dev/null
    fi
    qel_wine_shutdown
    qel_xvfb_stop
}
trap cleanup EXIT

tools/setup.sh "$build" || exit 1
qel_winenv "$build"
qel_wine_usable || { echo "run: Wine cannot run here: $(qel_wine_reason)" >&2; exit 1; }
preset=$QEL_WINE_PRESET
exe=$build/$preset/app/QelPluginWizard.exe
cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" || exit 1
[ -f "$exe" ] || { echo "run: $exe was not built" >&2; exit 1; }
qel_standin_install "$preset" || exit 1
echo "run: $exe under $QEL_WINE"

# For a person on $DISPLAY: the wizard until they close it.
run_on_display() {
    /usr/bin/env python3 tools/demo_server.py 8642 --log "$build/demo_server.log" \
        --flow "${QEL_DEMO_FLOW:-success}" &
    server=$!
    rm -f "$build/standin-run.log"
    echo "run: the wizard is on $DISPLAY; close it to end"
    QEL_BROWSER_LOG="Z:${build//\//\\}\\standin-run.log" "$QEL_WINE" "$exe" \
        >"$build/wizard-run.log" 2>&1
}

# Without a display: the success path, played by the end-to-end driver.
run_headless() {
    local shots=$build/screenshots
    qel_xvfb_start || exit 1
    qel_wine_warmup
    rm -rf "$shots"
    /usr/bin/env python3 tests/e2e/e2e_wizard.py --scenarios success --exe "$exe" \
        --inspect "$build/$preset/tools/inspector/qel_inspect.exe" \
        --server "$root/tools/demo_server.py" --work "$build/run" --shots "$shots"
    local rc=$?
    echo "run: screenshots of each stage in $shots:"
    ls "$shots"
    return $rc
}

if [ -n "${DISPLAY:-}" ]; then
    run_on_display
else
    run_headless
fi
