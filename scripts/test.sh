#!/usr/bin/env bash
# The test command: setup, the native and win32 builds, native unit tests, the
# win32 exe's imports and header, then the Wine suites (tests/win and tests/e2e)
# on a private Xvfb: from the win32 preset, or from the win64 preset where 32-bit
# programs cannot run, then the budget figures (scripts/budget.sh). Wine is required.
# Ends with one line "N passed, N failed" over all suites; non-zero on failure.
#   scripts/test.sh
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/winenv.sh
build=$root/build
logs=$build/testlogs
passed=0
failed=0
skipped=0

exec </dev/null
# One run at a time per work tree: runs share the Wine prefix, and each ends
# its Wine server on exit.
mkdir -p "$build"
exec 9>"$build/.test.lock"
if ! flock -n 9; then
    echo "test: waiting for another test run in this tree"
    flock 9
fi
trap qel_winenv_stop EXIT

die() {
    echo "test: $*" >&2
    echo "$passed passed, $((failed + 1)) failed"
    exit 1
}

# Adds the totals of ctest's JUnit file (scripts/junit_totals.py) to ours.
count_ctest() {
    local counts
    read -r -a counts < <(python3 scripts/junit_totals.py "$1")
    passed=$((passed + counts[0]))
    failed=$((failed + counts[1]))
    skipped=$((skipped + counts[2]))
}

run_ctest() {
    local name=$1
    shift
    rm -f "$logs/$name.xml"
    ctest "$@" --output-junit "$logs/$name.xml" 2>&1 | tee "$logs/$name.log"
    count_ctest "$logs/$name.xml"
}

# One test: the shipped exe imports KnownDLLs only, which Windows takes from its
# system folder whatever lies beside the exe.
check_imports() {
    local exe=$build/win32/app/QelPluginWizard.exe found dlls foreign
    if found=$(scripts/imports.sh i686-w64-mingw32-objdump "$exe"); then
        echo "test: imports of $(basename "$exe"): $(head -n 1 <<<"$found") — KnownDLLs only"
        passed=$((passed + 1))
    else
        foreign=$(sed -n 2p <<<"$found")
        echo "test: FAILED: $(basename "$exe") imports ${foreign:-nothing readable}"
        failed=$((failed + 1))
    fi
}

# One test each: every function the shipped exe imports is in Windows XP SP3
# (scripts/imports_xp.txt), and its header carries the hardening flags
# (scripts/pe_check.py). No test here runs the i686 exe, so both are read back.
check_image() {
    local what=$1 line
    shift
    if line=$(python3 scripts/pe_check.py "$@"); then
        echo "test: $what of QelPluginWizard.exe (win32): ${line#ok: }"
        passed=$((passed + 1))
    else
        echo "test: FAILED: $what of QelPluginWizard.exe (win32): ${line#FAILED: }"
        failed=$((failed + 1))
    fi
}

scripts/setup.sh "$build" || die "setup failed"
mkdir -p "$logs"

# Configures and builds one preset, keeping the configure output in the logs.
build_preset() {
    cmake --preset "$1" >"$logs/configure-$1.log" 2>&1 || {
        cat "$logs/configure-$1.log"
        die "$1 configuration failed"
    }
    cmake --build --preset "$1" || die "$1 build failed"
}

build_preset native
build_preset win32

run_ctest native --preset native

# The unit suite again under ASan and UBSan: any report fails its case.
started=$SECONDS
build_preset asan
run_ctest asan --preset asan
echo "test: sanitized unit suite: $((SECONDS - started)) s"

# libFuzzer: a bounded run per target; a crash, leak, time-out or report fails.
started=$SECONDS
build_preset fuzz
run_ctest fuzz --preset fuzz
echo "test: fuzz targets: $((SECONDS - started)) s"

check_imports
check_image "imported functions" imports scripts/imports_xp.txt "$build/win32/app/QelPluginWizard.exe"
check_image "header" header "$build/win32/app/QelPluginWizard.exe" \
    --map "$build/win32/app/QelPluginWizard.map"

qel_winenv "$build"
qel_wine_usable || die "Wine cannot run here ($(qel_wine_reason))"
preset=$QEL_WINE_PRESET
if [ "$preset" = win64 ]; then
    echo "test: 32-bit programs cannot run here; the Wine suites run 64-bit (win64 preset, $QEL_WINE)"
    LANG=C LC_ALL=C build_preset win64
else
    echo "test: the Wine suites run from the $preset preset ($QEL_WINE)"
fi
[ -f "$WINEPREFIX/.qel-ready" ] || die "the Wine prefix $WINEPREFIX is not ready"
qel_standin_install "$preset" || die "the stand-in browser is missing"
qel_xvfb_start || die "no Xvfb"
qel_wine_warmup
run_ctest "$preset" --preset "$preset" -E '^e2e_'
# The end-to-end runs take minutes: their progress lines show as they come,
# their whole output stays in the log.
shown='^ *Start |Test +#|^[0-9]+: (e2e|info)|tests failed out of'
shown+='|^The following tests FAILED|^[[:space:]]+[0-9]+ - '
rm -f "$logs/$preset-e2e.xml"
ctest --preset "$preset" -R '^e2e_' -V --output-junit "$logs/$preset-e2e.xml" 2>&1 |
    tee "$logs/$preset-e2e.log" | grep --line-buffered -E "$shown" | sed -u 's/^[0-9]*: //'
count_ctest "$logs/$preset-e2e.xml"
grep -q '^The following tests FAILED' "$logs/$preset-e2e.log" &&
    echo "test: the end-to-end runs' whole output: $logs/$preset-e2e.log"

# Adds the words a script wrote to its results file (ok, failed, skipped: one
# a test) to the totals; a script that failed without a failed test is one.
count_results() {
    local file=$1 rc=$2 ok bad skip
    ok=$(grep -cx ok "$file" 2>/dev/null)
    bad=$(grep -cx failed "$file" 2>/dev/null)
    skip=$(grep -cx skipped "$file" 2>/dev/null)
    if [ "$rc" -ne 0 ] && [ "${bad:-0}" -eq 0 ]; then
        bad=1
    fi
    passed=$((passed + ${ok:-0}))
    failed=$((failed + ${bad:-0}))
    skipped=$((skipped + ${skip:-0}))
}

# Budget figures (scripts/budget.sh): each one a test.
rm -f "$logs/budget.results"
QEL_RESULTS=$logs/budget.results scripts/budget.sh "$preset" 2>&1 | tee "$logs/budget.log"
count_results "$logs/budget.results" "${PIPESTATUS[0]}"

# The release command, signed with a throwaway certificate (scripts/release_test.sh,
# on the release build budget.sh made).
rm -f "$logs/release-test.results"
QEL_RESULTS=$logs/release-test.results scripts/release_test.sh 2>&1 | tee "$logs/release-test.log"
count_results "$logs/release-test.results" "${PIPESTATUS[0]}"

if [ "$skipped" -gt 0 ]; then
    echo "$passed passed, $failed failed, $skipped skipped"
else
    echo "$passed passed, $failed failed"
fi
[ "$failed" -eq 0 ]
