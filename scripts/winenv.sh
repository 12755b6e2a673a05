# Sourced by the scripts: Wine environment of this work tree, the choice between
# 32- and 64-bit Wine, and a private Xvfb.
#   . scripts/winenv.sh; qel_winenv BUILD_DIR; qel_xvfb_start; qel_wine_warmup
#   qel_winenv_stop   (ends the Wine server and the Xvfb they started)
#   qel_wine_dpi DPI  (the system DPI of the prefix, 96 by default)
# After qel_winenv: QEL_WINE is the loader to run Windows programs with
# (empty when no Wine runs here) and QEL_WINE_PRESET the CMake preset whose
# exes it runs (win32, or win64 where 32-bit programs cannot run).
# Shell variables changed: qel_winenv exports WINEPREFIX, WINEDEBUG, LANG and
# LC_ALL (ko_KR.UTF-8), QEL_WINE, QEL_WINE_PRESET, sets or unsets WINELOADER,
# unsets WINEDLLOVERRIDES and sets QEL_WINE_DETECTED, QEL_WINE32_OK and
# QEL_WINE64_OK; qel_xvfb_start exports DISPLAY and sets QEL_XVFB_PID. Nothing
# restores them: source it in a shell of its own to keep yours.

QEL_WINE32=${QEL_WINE32:-/usr/lib/wine/wine}
QEL_WINE64=${QEL_WINE64:-/usr/lib/wine/wine64}

# Decided once per shell: 32-bit Wine needs a kernel that runs i386 ELF programs.
qel_wine_detect() {
    if [ -n "${QEL_WINE_DETECTED:-}" ]; then
        return
    fi
    QEL_WINE_DETECTED=1
    QEL_WINE32_OK=0
    QEL_WINE64_OK=0
    if timeout 60 "$QEL_WINE32" --version >/dev/null 2>&1; then
        QEL_WINE32_OK=1
    fi
    if timeout 60 "$QEL_WINE64" --version >/dev/null 2>&1; then
        QEL_WINE64_OK=1
    fi
}

qel_winenv() {
    export WINEPREFIX=$1/wineprefix
    export WINEDEBUG=-all
    export LANG=ko_KR.UTF-8
    export LC_ALL=ko_KR.UTF-8
    unset WINEDLLOVERRIDES
    qel_wine_detect
    if [ "$QEL_WINE32_OK" = 1 ]; then
        export QEL_WINE=/usr/bin/wine QEL_WINE_PRESET=win32
        unset WINELOADER
    elif [ "$QEL_WINE64_OK" = 1 ]; then
        export QEL_WINE=$QEL_WINE64 QEL_WINE_PRESET=win64 WINELOADER=$QEL_WINE64
    else
        export QEL_WINE= QEL_WINE_PRESET=
    fi
}

qel_wine_usable() {
    [ -n "${QEL_WINE:-}" ]
}

# Why no Wine runs here, in one line.
qel_wine_reason() {
    (
        export LC_ALL=C
        echo "32-bit: $("$QEL_WINE32" --version 2>&1 | tail -n 1);" \
            "64-bit: $("$QEL_WINE64" --version 2>&1 | tail -n 1)"
    )
}

# Runs a Windows program with the chosen loader.
qel_wine() {
    "$QEL_WINE" "$@"
}

# Starts an Xvfb of our own on a free display and exports DISPLAY; through
# LAUNCHER when given (a command that ends by running its arguments, as unshare).
# Sets QEL_XVFB_PID; qel_xvfb_stop ends it.
#   qel_xvfb_start [LAUNCHER...]
qel_xvfb_start() {
    local dfile
    dfile=$(mktemp)
    "$@" Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$dfile" \
        >/dev/null 2>&1 &
    QEL_XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
        if [ -s "$dfile" ]; then
            break
        fi
        if ! kill -0 "$QEL_XVFB_PID" 2>/dev/null; then
            break
        fi
        sleep 0.1
    done
    if [ ! -s "$dfile" ]; then
        rm -f "$dfile"
        echo "Xvfb did not start" >&2
        return 1
    fi
    export DISPLAY=":$(head -n 1 "$dfile" | tr -d '[:space:]')"
    rm -f "$dfile"
}

qel_xvfb_stop() {
    if [ -n "${QEL_XVFB_PID:-}" ]; then
        kill "$QEL_XVFB_PID" 2>/dev/null || true
        wait "$QEL_XVFB_PID" 2>/dev/null || true
        QEL_XVFB_PID=
    fi
}

# A running wineserver and one finished Wine process, so that later starts are quick.
qel_wine_warmup() {
    wineserver -p
    timeout 120 "$QEL_WINE" cmd /c exit >/dev/null 2>&1 || true
}

# Copies the stand-in browser that PRESET built to where the prefix's
# registration of the WebBrowser class names it (C:\qel\standin\x86 or x64).
# Set QEL_BROWSER=system to have programs use Wine's own control instead.
qel_standin_install() {
    local preset=$1 arch=x86 dll dest
    [ "$preset" = win64 ] && arch=x64
    dll=$(dirname "$WINEPREFIX")/$preset/testbed/standin/QelStandin.dll
    dest=$WINEPREFIX/drive_c/qel/standin/$arch
    [ -f "$dll" ] || { echo "the stand-in browser $dll was not built" >&2; return 1; }
    mkdir -p "$dest"
    cmp -s "$dll" "$dest/QelStandin.dll" || cp "$dll" "$dest/QelStandin.dll"
}

# Sets the prefix's system DPI, the LogPixels value of HKCU\Control Panel\Desktop
# that Wine reads as its server starts, and restarts the Wine server with it; 96,
# Wine's default, takes the value out again, as the prefix was made.
qel_wine_dpi() {
    local key='HKCU\Control Panel\Desktop'
    if [ "$1" = 96 ]; then
        qel_wine reg delete "$key" /v LogPixels /f >/dev/null 2>&1
    else
        qel_wine reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 || return 1
    fi
    wineserver -k 2>/dev/null
    wineserver -w
    # Its own output, not the caller's: ctest waits for its test's output to close.
    wineserver -p </dev/null >/dev/null 2>&1
    timeout 120 "$QEL_WINE" cmd /c exit </dev/null >/dev/null 2>&1 || true
}

qel_wine_shutdown() {
    if [ -n "${WINEPREFIX:-}" ]; then
        wineserver -k 2>/dev/null || true
    fi
}

# Ends what qel_wine_warmup and qel_xvfb_start started.
qel_winenv_stop() {
    qel_wine_shutdown
    qel_xvfb_stop
}
