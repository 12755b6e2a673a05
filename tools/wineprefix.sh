#!/usr/bin/env bash
# Prepares the Wine prefix under BUILD_DIR/wineprefix once: Gecko-less boot,
# Korean font replacements, MSHTML registered again (32- and 64-bit).
#   tools/wineprefix.sh BUILD_DIR
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tools/winenv.sh"
qel_winenv "$1"

ready=$WINEPREFIX/.qel-ready
if [ -f "$ready" ]; then
    exit 0
fi
if ! qel_wine_usable; then
    echo "setup: Wine cannot run on this machine ($(qel_wine_reason)); prefix not prepared" >&2
    exit 0
fi

echo "setup: preparing Wine prefix $WINEPREFIX"
trap 'qel_wine_shutdown; qel_xvfb_stop' EXIT
qel_xvfb_start
rm -rf "$WINEPREFIX"
WINEDLLOVERRIDES="mscoree,mshtml=" timeout 300 wineboot -i >/dev/null 2>&1
wineserver -w

reg=$(mktemp --suffix=.reg)
printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
    '"Gulim"="NanumGothic"' '"굴림"="NanumGothic"' '' |
    iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$reg"
timeout 120 wine regedit /S "$(winepath -w "$reg")" >/dev/null 2>&1
rm -f "$reg"

timeout 120 wine regsvr32 /s mshtml.dll >/dev/null 2>&1 || true
if [ -d "$WINEPREFIX/drive_c/windows/syswow64" ]; then
    timeout 120 wine 'C:\windows\syswow64\regsvr32.exe' /s mshtml.dll >/dev/null 2>&1 || true
fi
wineserver -w
touch "$ready"
echo "setup: Wine prefix ready"
