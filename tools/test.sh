#!/usr/bin/env bash
# The test command: setup, both builds, native unit tests, then the win32
# suites (tests/win and tests/e2e) under Wine on a private Xvfb.
# Ends with one line "N passed, N failed" over all suites; non-zero on failure.
#   tools/test.sh            (QEL_REQUIRE_WINE=1: a machine without Wine fails)
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. tools/winenv.sh
build=$root/build
logs=$build/testlogs
passed=0
failed=0
skipped=0

trap 'qel_wine_shutdown; qel_xvfb_stop' EXIT
exec </dev/null

die() {
    echo "test: $*" >&2
    echo "$passed passed, $((failed + 1)) failed"
    exit 1
}

# Adds ctest's "N tests failed out of M" (or "100% tests passed") to the totals.
count_ctest() {
    local log=$1 line total bad skip
    line=$(grep -E 'tests passed|tests failed out of' "$log" | tail -n 1)
    if [ -z "$line" ] && grep -q 'No tests were found' "$log"; then
        return
    fi
    if [ -z "$line" ]; then
        failed=$((failed + 1))
        return
    fi
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
    if grep -q 'tests failed' <<<"$line"; then
        bad=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$line")
    else
        bad=0
    fi
    skip=$(grep -c '\*\*\*Skipped' "$log")
    passed=$((passed + total - bad - skip))
    failed=$((failed + bad))
    skipped=$((skipped + skip))
}

run_ctest() {
    local name=$1
    shift
    ctest "$@" 2>&1 | tee "$logs/$name.log"
    count_ctest "$logs/$name.log"
}

tools/setup.sh "$build" || die "setup failed"
mkdir -p "$logs"

cmake --preset native >"$logs/configure-native.log" 2>&1 || {
    cat "$logs/configure-native.log"
    die "native configuration failed"
}
cmake --build --preset native || die "native build failed"
cmake --preset win32 >"$logs/configure-win32.log" 2>&1 || {
    cat "$logs/configure-win32.log"
    die "win32 configuration failed"
}
cmake --build --preset win32 || die "win32 build failed"

run_ctest native --preset native

qel_winenv "$build"
if qel_wine_usable; then
    [ -f "$WINEPREFIX/.qel-ready" ] || die "the Wine prefix $WINEPREFIX is not ready"
    qel_xvfb_start || die "no Xvfb"
    qel_wine_warmup
    run_ctest win32 --preset win32
else
    # Tests labelled "host" need no Wine; the rest cannot run here.
    reason=$(qel_wine_reason)
    total=$(ctest --preset win32 -N 2>/dev/null | sed -n 's/^Total Tests: //p')
    run_ctest win32-host --preset win32 -L host
    host=$(ctest --preset win32 -N -L host 2>/dev/null | sed -n 's/^Total Tests: //p')
    n=$((${total:-0} - ${host:-0}))
    skipped=$((skipped + n))
    echo "test: WARNING: Wine cannot run here ($reason): $n win32 tests not run" >&2
    if [ "${QEL_REQUIRE_WINE:-0}" = 1 ]; then
        failed=$((failed + n))
    fi
fi

if [ "$skipped" -gt 0 ]; then
    echo "$passed passed, $failed failed, $skipped skipped"
else
    echo "$passed passed, $failed failed"
fi
[ "$failed" -eq 0 ]
