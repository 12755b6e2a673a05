#!/usr/bin/env bash
# Demo: builds the exe, serves the wizard pages on 127.0.0.1:8642 and runs the
# wizard under Wine, on $DISPLAY if set, otherwise on a private Xvfb. The exe
# is the win32 one, or the win64 one where 32-bit programs cannot run. Its
# pages show in the stand-in browser (calls logged to build/standin-run.log;
# QEL_BROWSER=system for Wine's own control); QEL_DEMO_FLOW chooses where the
# payment test leads (success, failure, frame, nobody, stall).
# Saves build/screenshots/wizard.png (and notice.png when seen).
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. tools/winenv.sh
build=$root/build
shots=$build/screenshots
title="노르베인 플러그인 설치 마법사"
server=
wizard=

cleanup() {
    if [ -n "$wizard" ] && kill -0 "$wizard" 2>/dev/null; then
        kill "$wizard" 2>/dev/null
    fi
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

own_display=0
if [ -z "${DISPLAY:-}" ]; then
    qel_xvfb_start || exit 1
    own_display=1
fi

/usr/bin/env python3 tools/demo_server.py 8642 --log "$build/demo_server.log" \
    --flow "${QEL_DEMO_FLOW:-success}" &
server=$!
mkdir -p "$shots"
rm -f "$build/standin-run.log"
QEL_BROWSER_LOG="Z:${build//\//\\}\\standin-run.log" "$QEL_WINE" "$exe" >"$build/wizard-run.log" 2>&1 &
wizard=$!

# Polls for a window with this title; prints its X id.
find_window() {
    local i id
    for i in $(seq 1 "$2"); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        kill -0 "$wizard" 2>/dev/null || return 1
        sleep 0.5
    done
    return 1
}

main=$(find_window "$title" 120) || { echo "run: the wizard window did not appear" >&2; exit 1; }
# The notice is the visible window that is neither the wizard nor Wine's helpers.
notice=
for i in $(seq 1 20); do
    notice=$(xdotool search --onlyvisible --pid "$wizard" 2>/dev/null | grep -vx "$main" | head -n 1)
    [ -n "$notice" ] && break
    sleep 0.25
done
if [ -n "$notice" ]; then
    import -window "$notice" "$shots/notice.png" && echo "run: saved $shots/notice.png"
    if [ "$own_display" = 1 ]; then
        # Closes the notice as a user would (a click on it, then Esc) to show the whole wizard.
        eval "$(xdotool getwindowgeometry --shell "$notice")"
        xdotool mousemove --sync $((X + 4)) $((Y + 4)) click 1 key Escape
        for i in $(seq 1 20); do
            xdotool search --onlyvisible --pid "$wizard" 2>/dev/null | grep -qx "$notice" || break
            sleep 0.25
        done
    fi
else
    echo "run: no notice seen" >&2
fi
import -window "$main" "$shots/wizard.png" && echo "run: saved $shots/wizard.png"

if [ "$own_display" = 0 ]; then
    echo "run: the wizard is on $DISPLAY; close it to end"
    wait "$wizard"
fi
