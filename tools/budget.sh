#!/usr/bin/env bash
# Budget figures of the program, one line each with its bound:
#   "budget: <figure> ... — ok" or "budget: FAILED: <figure> ...".
# The release exe (i686, build/release) is built twice, in two folders: its
# size, its imports and whether both builds are byte-identical. Then, under
# Wine from PRESET's build: start-up to the visible wizard window against the
# plain dialog of tools/budget, and the timers pending on the idle wizard.
#   tools/budget.sh [PRESET]   (default: the preset the Wine here runs)
# tools/test.sh runs it with its Wine and Xvfb up and QEL_SYSTEM_DLLS set to
# its list of KnownDLLs; run alone, it starts its own. Non-zero on failure.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=$root/build
logs=$build/testlogs
rounds=${QEL_BUDGET_ROUNDS:-15}
status=0
mkdir -p "$logs"

# One figure: OK (0 or not) and its text.
report() {
    local ok=$1
    shift
    if [ "$ok" = 0 ]; then
        echo "budget: $* — ok"
    else
        echo "budget: FAILED: $*"
        status=1
    fi
}

# Wine, Xvfb and the stand-in's prefix, when the caller has not set them up.
ensure_wine() {
    [ -n "${QEL_WINE:-}" ] && [ -n "${DISPLAY:-}" ] && return
    . tools/winenv.sh
    qel_winenv "$build"
    qel_wine_usable || return 1
    qel_xvfb_start || return 1
    trap 'qel_wine_shutdown; qel_xvfb_stop' EXIT
    qel_wine_warmup
}

# Builds the release preset into FOLDER (from scratch when asked).
build_release() {
    local dir=$1 fresh=${2:-}
    [ "$fresh" = fresh ] && rm -rf "$dir"
    cmake --preset release -B "$dir" && cmake --build "$dir" --target QelPluginWizard -j2
}

release_size() {
    local exe=$build/release/app/QelPluginWizard.exe size stripped=stripped
    size=$(stat -c %s "$exe")
    "$objdump" -t "$exe" | grep -q 'no symbols' || stripped="NOT stripped"
    [ "$size" -le 1048576 ] && [ "$stripped" = stripped ]
    report $? "release exe size: $size bytes ($((size / 1024)) KiB), $stripped (bound 1024 KiB, stripped)"
}

release_imports() {
    local exe=$build/release/app/QelPluginWizard.exe dlls foreign
    dlls=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
    foreign=$(grep -viE "^(${QEL_SYSTEM_DLLS:-none})\.dll\$" <<<"$dlls")
    [ -n "$dlls" ] && [ -z "$foreign" ]
    report $? "release exe imports: $(echo $dlls) (bound: KnownDLLs only${foreign:+; not: $(echo $foreign)})"
}

# The second build sits in another folder: a build path inside would differ.
release_reproducible() {
    local a=$build/release/app/QelPluginWizard.exe b=$build/release-2/app/QelPluginWizard.exe
    local ok=0 what="byte-identical"
    if ! build_release "$build/release-2" fresh >"$logs/budget-release-2.log" 2>&1; then
        ok=1 what="second build failed (see $logs/budget-release-2.log)"
    elif ! cmp -s "$a" "$b"; then
        ok=1 what="differ: $(cmp -l "$a" "$b" | wc -l) bytes"
    elif grep -qaF "$root" "$a"; then
        ok=1 what="identical, but hold the build path $root"
    fi
    report $ok "release exe built twice (build/release, build/release-2): $what (bound: byte-identical, no build path)"
}

winpath() {
    local p=${1//\//\\}
    echo "Z:$p"
}

# Start-up time of the wizard against the plain dialog, alternately inside Wine.
startup_ratio() {
    local dir=$build/$preset out med line
    out=$(timeout 600 "$QEL_WINE" "$dir/tools/budget/qel_budget_timer.exe" "$rounds" \
        "$(winpath "$dir/app/QelPluginWizard.exe")" \
        "$(winpath "$dir/tools/budget/qel_budget_plain.exe")" 2>&1 | tr -d '\r')
    echo "$out" >"$logs/budget-startup.log"
    med=$(sed -n 's/^medians //p' <<<"$out")
    if [ -z "$med" ]; then
        report 1 "start-up: no figure ($(tail -n 1 <<<"$out"))"
        return
    fi
    line=$(awk -v m="$med" -v a="$(sed -n 's/^range A //p' <<<"$out")" \
        -v b="$(sed -n 's/^range B //p' <<<"$out")" -v n="$rounds" 'BEGIN {
            split(m, t, " "); split(a, ra, " "); split(b, rb, " ")
            r = t[1] / t[2]
            printf "%d start-up to the visible wizard window, median of %d: %.0f ms (%.0f-%.0f),", \
                r <= 1.15 ? 0 : 1, n, t[1], ra[1], ra[2]
            printf " plain dialog %.0f ms (%.0f-%.0f), ratio %.3f (bound 1.15)\n", t[2], rb[1], rb[2], r
        }')
    report "${line%% *}" "${line#* }"
}

idle_timers() {
    local n
    ctest --preset "$preset" -R '^win\.WizardIdle\.NoTimerPending$' -V >"$logs/budget-idle.log" 2>&1
    n=$(sed -n 's/.*idle timers on the wizard window: \([0-9]*\).*/\1/p' "$logs/budget-idle.log" | tail -n 1)
    [ "${n:-x}" = 0 ]
    report $? "idle timers on the wizard window: ${n:-no figure (see $logs/budget-idle.log)} (bound 0)"
}

if build_release "$build/release" >"$logs/budget-release.log" 2>&1; then
    objdump=$(sed -n 's/^CMAKE_OBJDUMP:FILEPATH=//p' "$build/release/CMakeCache.txt")
    release_size
    release_imports
    release_reproducible
else
    report 1 "release exe: the build failed (see $logs/budget-release.log)"
fi

if ensure_wine; then
    preset=${1:-$QEL_WINE_PRESET}
    startup_ratio
    idle_timers
else
    report 1 "start-up and idle timers: Wine cannot run here"
fi
exit $status
