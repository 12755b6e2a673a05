# Sourced by scripts/test.sh after scripts/winenv.sh: Wine slots, so that the
# Wine tests run side by side. A slot is a copy of the prepared Wine prefix, an
# Xvfb and a running Wine server of its own, in a network namespace of its own
# where one can be made (then the demo server's port on loopback is each
# slot's own). scripts/in_slot.sh runs a test in a free slot.
#   qel_winenv BUILD_DIR; qel_slots_start N; ...; qel_slots_stop
# qel_slots_start exports QEL_SLOTS (the slots' folder) and sets QEL_SLOT_COUNT:
# N, or 1 where no network namespace can be made (the port is then shared).
# WINEPREFIX, the prepared prefix, must have no Wine server running.

qel_slots_start() {
    local want=$1 dir i launcher=()
    dir=$(dirname "$WINEPREFIX")/slots
    QEL_SLOTS=$dir qel_slots_stop
    mkdir -p "$dir"
    if unshare --net true 2>/dev/null; then
        launcher=(unshare --net sh -c 'ip link set lo up && exec "$@"' qel-slot)
    else
        want=1
    fi
    for ((i = 0; i < want; i++)); do
        mkdir "$dir/$i"
        cp -a "$WINEPREFIX" "$dir/$i/prefix" || return 1
        (
            qel_xvfb_start "${launcher[@]}" || exit 1
            echo "$DISPLAY" >"$dir/$i/display"
            echo "$QEL_XVFB_PID" >"$dir/$i/xvfb.pid"
            [ ${#launcher[@]} -eq 0 ] || echo "/proc/$QEL_XVFB_PID/ns/net" >"$dir/$i/net"
        ) || return 1
    done
    export QEL_SLOTS=$dir
    QEL_SLOT_COUNT=$want
    # Each slot's Wine server started, and one Wine process finished, before the tests.
    local warming=()
    for ((i = 0; i < want; i++)); do
        "$(dirname "${BASH_SOURCE[0]}")/in_slot.sh" bash -c \
            '. "$0"; qel_wine_warmup' "$(dirname "${BASH_SOURCE[0]}")/winenv.sh" \
            </dev/null >/dev/null 2>&1 &
        warming+=($!)
    done
    wait "${warming[@]}"
}

# Ends the slots' Wine servers and Xvfbs and removes their prefixes.
qel_slots_stop() {
    local slot
    [ -n "${QEL_SLOTS:-}" ] && [ -d "$QEL_SLOTS" ] || return 0
    for slot in "$QEL_SLOTS"/[0-9]*; do
        [ -d "$slot/prefix" ] && WINEPREFIX=$slot/prefix wineserver -k 2>/dev/null
        [ -s "$slot/xvfb.pid" ] && kill "$(cat "$slot/xvfb.pid")" 2>/dev/null
    done
    rm -rf "$QEL_SLOTS"
    unset QEL_SLOTS
}
