# A private Xvfb display and a fresh Wine prefix for one test run, ended on
# exit. Sourced by scripts/test; call wine_env_start, and wine_env_stop from
# an EXIT trap.

WINE_ENV_XVFB_PID=
WINE_ENV_PREFIX=

# Starts Xvfb on a display number that the server picks itself and reports
# (-displayfd), so runs that start together never share a display.
start_xvfb() {
    local file n tries=0
    file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$file" >/dev/null 2>&1 &
    WINE_ENV_XVFB_PID=$!
    while [ ! -s "$file" ] && kill -0 "$WINE_ENV_XVFB_PID" 2>/dev/null && [ $tries -lt 100 ]; do
        sleep 0.1
        tries=$((tries + 1))
    done
    n=$(head -1 "$file")
    rm -f "$file"
    [ -n "$n" ] || die "Xvfb did not start"
    export DISPLAY=":$n"
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
