# A private Xvfb display and a fresh Wine prefix for one test run, ended on
# exit. Sourced by scripts/test; call wine_env_start, and wine_env_stop from
# an EXIT trap.

WINE_ENV_XVFB_PID=
WINE_ENV_PREFIX=

# The first display number with neither a socket nor a lock file.
free_display() {
    local n
    for n in $(seq 90 190); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            echo "$n"
            return 0
        fi
    done
    return 1
}

# Starts Xvfb on a free display; another run may take the same number at the
# same moment, so a display whose server died at once is given up for the next.
start_xvfb() {
    local attempt n tries
    for attempt in 1 2 3 4 5; do
        n=$(free_display) || die "no free X display number"
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        WINE_ENV_XVFB_PID=$!
        export DISPLAY=":$n"
        tries=0
        while kill -0 "$WINE_ENV_XVFB_PID" 2>/dev/null && [ $tries -lt 100 ]; do
            xdpyinfo >/dev/null 2>&1 && return 0
            tries=$((tries + 1))
            sleep 0.1
        done
        kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
        WINE_ENV_XVFB_PID=
        sleep 0.$((RANDOM % 9 + 1))
    done
    die "Xvfb did not start"
}

wine_env_start() {
    local root
    root=$(realpath -m "$1")
    start_xvfb

    WINE_ENV_PREFIX="$root/prefix-$$"
    rm -rf "$WINE_ENV_PREFIX"
    mkdir -p "$root"
    export WINEPREFIX=$WINE_ENV_PREFIX WINEARCH=win32 WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    log "Wine prefix $WINEPREFIX on display $DISPLAY"
    timeout -k 5 180 wineboot -i >/dev/null 2>&1 || die "wineboot -i failed"
    timeout -k 5 60 wineserver -w
    # One persistent server for the run, and no 2 s stall per hidden window.
    wineserver -p
    timeout -k 5 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
        >/dev/null 2>&1
    # Start the services now, outside any pipe that ctest would wait on.
    timeout -k 5 120 wine wineboot >/dev/null 2>&1 || true
}

wine_env_stop() {
    if [ -n "$WINE_ENV_PREFIX" ]; then
        WINEPREFIX=$WINE_ENV_PREFIX timeout -k 5 30 wineserver -k 2>/dev/null || true
        WINEPREFIX=$WINE_ENV_PREFIX timeout -k 5 30 wineserver -w 2>/dev/null || true
        rm -rf "$WINE_ENV_PREFIX"
        WINE_ENV_PREFIX=
    fi
    if [ -n "$WINE_ENV_XVFB_PID" ]; then
        kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
        wait "$WINE_ENV_XVFB_PID" 2>/dev/null || true
        WINE_ENV_XVFB_PID=
    fi
}
