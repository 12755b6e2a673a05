#!/usr/bin/env bash
# The test command, in phases whose wall times it prints at the end:
#   setup    the packages the win32 build needs (scripts/setup.sh --build-tools);
#   build    the win32 build, its exe's imports and header read back, while the
#            rest of the setup (Wine, the displays, clang, the Wine prefix)
#            installs beside it; the win64 build where 32-bit programs cannot run;
#   wine     every Wine suite (tests/win and tests/e2e) side by side, each test
#            in a Wine slot of its own (scripts/slots.sh), from the win32
#            preset, or win64 where 32-bit programs cannot run;
#   budget   the budget's figures under Wine, on a quiet machine;
#   release  the release command's tests (scripts/release_test.sh).
# From the build phase to the end of the wine phase, what only computes runs
# beside them at the lowest CPU priority: the native, asan and fuzz builds with
# their suites, and the budget's release builds.
# Wine is required. Ends with one line "N passed, N failed" over all suites;
# non-zero on failure.
#   scripts/test.sh
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/winenv.sh
. scripts/slots.sh
build=$root/build
logs=$build/testlogs
passed=0
failed=0
skipped=0
phases=
began=$SECONDS
# Wine slots: four tests at once keep two cores busy while scenarios wait.
slots=${QEL_TEST_SLOTS:-4}

exec </dev/null
# One run at a time per work tree: runs share the Wine prefix, and each ends
# its Wine server on exit.
mkdir -p "$logs"
exec 9>"$build/.test.lock"
if ! flock -n 9; then
    echo "test: waiting for another test run in this tree"
    flock 9
fi
trap 'stop_host; qel_slots_stop; qel_winenv_stop' EXIT

die() {
    echo "test: $*" >&2
    echo "$passed passed, $((failed + 1)) failed"
    exit 1
}

# Ends a phase begun at $started: its wall time now and in the closing list.
phase_end() {
    local took=$((SECONDS - started))
    echo "test: phase $1: $took s"
    phases+="${phases:+, }$1 $took s"
}

# Adds the totals of ctest's JUnit file (scripts/junit_totals.py) to ours.
count_ctest() {
    local counts
    read -r -a counts < <(python3 scripts/junit_totals.py "$1")
    passed=$((passed + counts[0]))
    failed=$((failed + counts[1]))
    skipped=$((skipped + counts[2]))
}

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

# Configures and builds one preset, keeping the configure output in the logs.
build_preset() {
    cmake --preset "$1" >"$logs/configure-$1.log" 2>&1 || {
        cat "$logs/configure-$1.log"
        return 1
    }
    cmake --build --preset "$1"
}

# Builds a native preset and runs its suite; a failed build is a line in host.failed.
host_suite() {
    if build_preset "$1"; then
        ctest --preset "$1" -j 2 --output-junit "$logs/$1.xml"
    else
        echo "the $1 build" >>"$logs/host.failed"
    fi
}

# What only computes, at the lowest CPU priority, its output in host.log, in two
# lines of work so that both cores have some when the Wine tests leave them
# idle: the native unit suite and the same under ASan and UBSan (any report
# fails its case); the budget's release builds and, once the setup is done (it
# installs clang: the lock on .setup.lock), a bounded libFuzzer run per target
# (a crash, leak, time-out or report fails).
host_suites() {
    exec 7>&-
    renice -n 19 -p "$BASHPID" >/dev/null
    { host_suite native; host_suite asan; } &
    QEL_BUDGET_PART=release QEL_RESULTS=$logs/budget.results scripts/budget.sh
    echo $? >"$logs/budget-release.rc"
    flock "$logs/.setup.lock" true
    host_suite fuzz
    wait
}

stop_host() {
    [ -z "${host:-}" ] || kill "$host" 2>/dev/null
}

rm -f "$logs"/*.xml "$logs"/*.results "$logs"/*.rc "$logs/host.failed"
started=$SECONDS
scripts/setup.sh --build-tools "$build" || die "setup failed"
phase_end setup

started=$SECONDS
exec 7>"$logs/.setup.lock"
flock 7
host_suites >"$logs/host.log" 2>&1 &
host=$!
scripts/setup.sh "$build" >"$logs/setup.log" 2>&1 &
setup=$!
build_preset win32 || die "win32 build failed"
check_imports
check_image "imported functions" imports scripts/imports_xp.txt "$build/win32/app/QelPluginWizard.exe"
check_image "header" header "$build/win32/app/QelPluginWizard.exe" \
    --map "$build/win32/app/QelPluginWizard.map"
if ! wait "$setup"; then
    cat "$logs/setup.log"
    die "setup failed"
fi
flock -u 7
cat "$logs/setup.log"
qel_winenv "$build"
qel_wine_usable || die "Wine cannot run here ($(qel_wine_reason))"
preset=$QEL_WINE_PRESET
if [ "$preset" = win64 ]; then
    echo "test: 32-bit programs cannot run here; the Wine suites run 64-bit (win64 preset, $QEL_WINE)"
    LANG=C LC_ALL=C build_preset win64 || die "win64 build failed"
else
    echo "test: the Wine suites run from the $preset preset ($QEL_WINE)"
fi
phase_end build

started=$SECONDS
[ -f "$WINEPREFIX/.qel-ready" ] || die "the Wine prefix $WINEPREFIX is not ready"
qel_standin_install "$preset" || die "the stand-in browser is missing"
qel_slots_start "$slots" || die "the Wine slots could not be made"
[ "$QEL_SLOT_COUNT" -gt 1 ] ||
    echo "test: no network namespace can be made here; the Wine tests run one at a time"
# The end-to-end runs take minutes: their progress lines show as they come,
# every test's whole output stays in the log.
shown='^ *Start |Test +#|^[0-9]+: (e2e|info)|tests failed out of'
shown+='|^The following tests FAILED|^[[:space:]]+[0-9]+ - '
ctest --preset "$preset" -j "$QEL_SLOT_COUNT" -V --output-junit "$logs/$preset.xml" 2>&1 |
    tee "$logs/$preset.log" | grep --line-buffered -E "$shown" | sed -u 's/^[0-9]*: //'
count_ctest "$logs/$preset.xml"
grep -q '^The following tests FAILED' "$logs/$preset.log" &&
    echo "test: the Wine suites' whole output: $logs/$preset.log"
qel_slots_stop
wait "$host"
host=
for preset_xml in native asan fuzz; do
    count_ctest "$logs/$preset_xml.xml"
done
grep -E '^(budget|test):|tests passed|^The following tests FAILED|^[[:space:]]+[0-9]+ - ' \
    "$logs/host.log"
if [ -s "$logs/host.failed" ]; then
    while read -r what; do
        echo "test: FAILED: $what (see $logs/host.log)"
        failed=$((failed + 1))
    done <"$logs/host.failed"
fi
phase_end wine

started=$SECONDS
qel_xvfb_start || die "no Xvfb"
qel_wine_warmup
QEL_BUDGET_PART=wine QEL_RESULTS=$logs/budget.results scripts/budget.sh "$preset" 2>&1 |
    tee "$logs/budget.log"
budget_status=${PIPESTATUS[0]}
# A part that failed without a failed figure counts as one failure.
[ "$budget_status" -ne 0 ] || budget_status=$(cat "$logs/budget-release.rc" 2>/dev/null || echo 1)
count_results "$logs/budget.results" "$budget_status"
phase_end budget

# The release command, signed with a throwaway certificate (scripts/release_test.sh,
# on the release build budget.sh made).
started=$SECONDS
QEL_RESULTS=$logs/release-test.results scripts/release_test.sh 2>&1 | tee "$logs/release-test.log"
count_results "$logs/release-test.results" "${PIPESTATUS[0]}"
phase_end release

echo "test: phases: $phases; in all $((SECONDS - began)) s"
if [ "$skipped" -gt 0 ]; then
    echo "$passed passed, $failed failed, $skipped skipped"
else
    echo "$passed passed, $failed failed"
fi
[ "$failed" -eq 0 ]
