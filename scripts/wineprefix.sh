#!/usr/bin/env bash
# Prepares the Wine prefix under BUILD_DIR/wineprefix: a 64-bit prefix booted
# by wine64 without Gecko, Korean font replacements, a crash that prints its
# backtrace and ends instead of waiting on a dialog, MSHTML registered again
# (64-bit, and 32-bit where 32-bit programs run), and the WebBrowser control's
# class pointed at the stand-in browser in both registry views (the DLLs are
# copied to C:\qel\standin\x86 and \x64 after each build by
# qel_standin_install in scripts/winenv.sh). The ready marker holds the
# version of these steps; a prefix prepared by other steps is brought up to date.
#   scripts/wineprefix.sh BUILD_DIR
set -euo pipefail

version="4 win64 prefix; Gulim, 굴림 -> Baekmuk Gulim; no crash dialog; mshtml; stand-in browser"

root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/winenv.sh"
qel_winenv "$1"

ready=$WINEPREFIX/.qel-ready
if [ -f "$ready" ] && [ "$(cat "$ready")" = "$version" ]; then
    exit 0
fi
if [ "$QEL_WINE64_OK" != 1 ]; then
    echo "setup: 64-bit Wine cannot run on this machine ($(qel_wine_reason))" >&2
    exit 1
fi

# Every step below runs under 64-bit Wine, whichever loader the tests use.
export WINELOADER=$QEL_WINE64
wine64() {
    timeout 300 "$QEL_WINE64" "$@" >/dev/null 2>&1
}

echo "setup: preparing Wine prefix $WINEPREFIX"
started=$(date +%s)
trap qel_winenv_stop EXIT
qel_xvfb_start
rm -f "$ready"
if ! grep -qs '^#arch=win64' "$WINEPREFIX/system.reg"; then
    rm -rf "$WINEPREFIX"
    WINEDLLOVERRIDES="mscoree,mshtml=" wine64 wineboot -i
    wineserver -w
fi

wine64 regsvr32 /s mshtml.dll
if [ "$QEL_WINE32_OK" = 1 ] && [ -d "$WINEPREFIX/drive_c/windows/syswow64" ]; then
    (unset WINELOADER && timeout 300 /usr/bin/wine 'C:\windows\syswow64\regsvr32.exe' /s \
        mshtml.dll >/dev/null 2>&1)
fi
# After mshtml's registration, so that nothing registers the class over it.
standin_clsid='{8856F961-340A-11D0-A96B-00C04FD705A2}'
reg=$(mktemp --suffix=.reg)
printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
    '"Gulim"="Baekmuk Gulim"' '"굴림"="Baekmuk Gulim"' '' \
    '[HKEY_CURRENT_USER\Software\Wine\WineDbg]' '"ShowCrashDialog"=dword:00000000' '' \
    "[HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\$standin_clsid\\InprocServer32]" \
    '@="C:\\qel\\standin\\x64\\QelStandin.dll"' '"ThreadingModel"="Apartment"' '' \
    "[HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Classes\\CLSID\\$standin_clsid\\InprocServer32]" \
    '@="C:\\qel\\standin\\x86\\QelStandin.dll"' '"ThreadingModel"="Apartment"' '' |
    iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$reg"
wine64 regedit /S "$("$QEL_WINE64" winepath -w "$reg" 2>/dev/null)"
rm -f "$reg"
wineserver -w
grep -qs 'qel\\\\standin\\\\x86' "$WINEPREFIX/system.reg" || {
    echo "setup: the stand-in browser's registration did not reach $WINEPREFIX/system.reg" >&2
    exit 1
}
grep -qs '"Gulim"="Baekmuk Gulim"' "$WINEPREFIX/user.reg" || {
    echo "setup: the font replacements did not reach $WINEPREFIX/user.reg" >&2
    exit 1
}
echo "$version" >"$ready"
echo "setup: Wine prefix ready in $(($(date +%s) - started)) s"
