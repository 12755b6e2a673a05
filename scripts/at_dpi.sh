#!/usr/bin/env bash
# Runs a command with the Wine prefix's system DPI set to DPI, then sets it back
# to 96, also when the command fails or is interrupted. Needs the environment of
# qel_winenv (scripts/winenv.sh); exits with the command's status.
#   scripts/at_dpi.sh DPI COMMAND [ARG...]
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/winenv.sh"
dpi=${1:-}
shift || true
if ! [[ "$dpi" =~ ^[0-9]+$ ]] || [ "$dpi" -lt 48 ] || [ "$dpi" -gt 480 ] || [ $# -eq 0 ]; then
    echo "usage: scripts/at_dpi.sh DPI COMMAND [ARG...]  (DPI 48 to 480)" >&2
    exit 2
fi
if [ -z "${WINEPREFIX:-}" ] || ! qel_wine_usable; then
    echo "at_dpi: no Wine environment (source scripts/winenv.sh and run qel_winenv)" >&2
    exit 2
fi
trap 'qel_wine_dpi 96' EXIT
trap 'exit 130' INT TERM
qel_wine_dpi "$dpi" || {
    echo "at_dpi: the prefix's DPI could not be set to $dpi" >&2
    exit 1
}
"$@"
