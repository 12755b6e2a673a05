#!/usr/bin/env bash
# Runs a command in a free Wine slot (scripts/slots.sh, QEL_SLOTS): with the
# slot's prefix and display, in its network namespace, the slot held until the
# command ends. With no slots, runs the command as it is. Exits with its status.
#   scripts/in_slot.sh COMMAND [ARG...]
set -uo pipefail

[ -n "${QEL_SLOTS:-}" ] || exec "$@"
slots=("$QEL_SLOTS"/[0-9]*)
slot=
for s in "${slots[@]}"; do
    exec 8>"$s/lock"
    if flock -n 8; then
        slot=$s
        break
    fi
done
if [ -z "$slot" ]; then
    # More commands at once than slots: this one waits for one of them.
    slot=${slots[$(($$ % ${#slots[@]}))]}
    exec 8>"$slot/lock"
    flock 8
fi
WINEPREFIX=$slot/prefix
DISPLAY=$(cat "$slot/display")
export WINEPREFIX DISPLAY
# The command and what it starts (a Wine server among them) do not hold the lock.
if [ -s "$slot/net" ]; then
    nsenter --net="$(cat "$slot/net")" -- "$@" 8>&-
else
    "$@" 8>&-
fi
