# Sourced by the tools: Wine environment of this work tree, a private Xvfb,
# and a check that Wine can run on this machine at all.
#   . tools/winenv.sh; qel_winenv BUILD_DIR

qel_winenv() {
    export WINEPREFIX=$1/wineprefix
    export WINEDEBUG=-all
    export LANG=ko_KR.UTF-8
    export LC_ALL=ko_KR.UTF-8
    unset WINEDLLOVERRIDES
}

# Wine's 32-bit loader needs a kernel that runs i386 ELF programs.
qel_wine_usable() {
    timeout 60 wine --version >/dev/null 2>&1
}

qel_wine_reason() {
    wine --version 2>&1 | tail -n 1
}

# Starts an Xvfb of our own on a free display and exports DISPLAY.
# Sets QEL_XVFB_PID; qel_xvfb_stop ends it.
qel_xvfb_start() {
    local dfile
    dfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$dfile" \
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
    timeout 120 wine cmd /c exit >/dev/null 2>&1 || true
}

qel_wine_shutdown() {
    wineserver -k 2>/dev/null || true
}
