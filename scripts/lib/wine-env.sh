# A private Xvfb display and a fresh Wine prefix for one test run, ended on
# exit. Sourced by the scripts; call wine_env_start, and wine_env_stop from
# an EXIT trap. The prefix is of STAKKO_WINE_ARCH (scripts/lib/wine-arch.sh).
source "$STAKKO_ROOT/scripts/lib/wine-arch.sh"
source "$STAKKO_ROOT/scripts/lib/xvfb.sh"

WINE_ENV_XVFB_PID=
WINE_ENV_PREFIX=
WINE_ENV_ROOT=
WINE_ENV_LOG=

# wine_start_failed STEP STATUS LOG: stops with the step, the likeliest cause
# read from its log, and where the log is.
wine_start_failed() {
    local step=$1 status=$2 log=$3 cause
    if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
        cause="it did not finish in time (a very busy machine, or a hung wineserver of this prefix)"
    elif grep -q 'Exec format error' "$log" 2>/dev/null; then
        cause="this machine cannot run 32-bit x86 programs; STAKKO_WINE_ARCH=win64 runs the x86_64 build"
    elif grep -qi 'could not exec the wine loader\|cannot find.*loader' "$log" 2>/dev/null; then
        cause="the Wine loader for $WINEARCH is missing (packages wine32:i386 or wine64)"
    elif grep -qi 'no space left' "$log" 2>/dev/null; then
        cause="the disk is full (df -h $(dirname "$WINEPREFIX"))"
    elif grep -qi 'not owned by you\|permission denied' "$log" 2>/dev/null; then
        cause="the prefix folder belongs to another user or cannot be written"
    elif grep -qi 'wrong architecture\|is a 32-bit installation\|is a 64-bit installation' "$log" 2>/dev/null; then
        cause="the prefix was made for the other architecture"
    else
        cause="not recognised"
    fi
    # The prefix and its log go with the EXIT trap; the log is kept.
    cp "$log" "$WINE_ENV_ROOT/wine-start-failed.log" 2>/dev/null || true
    die "$step failed (status $status) with $WINEARCH Wine; likely cause: $cause; log: $WINE_ENV_ROOT/wine-start-failed.log"
}

# wine_start_step NAME LIMIT CMD...: runs one start-up step, its output in
# the prefix's start log, and stops with a diagnosis if it fails.
wine_start_step() {
    local name=$1 limit=$2 status=0
    shift 2
    echo "== $name" >>"$WINE_ENV_LOG"
    timeout -k 5 "$limit" "$@" >>"$WINE_ENV_LOG" 2>&1 || status=$?
    [ "$status" -eq 0 ] || wine_start_failed "$name" "$status" "$WINE_ENV_LOG"
}

wine_env_start() {
    local root
    root=$(realpath -m "$1")
    [ -n "${STAKKO_WINE_ARCH:-}" ] || choose_wine_arch
    use_wine_arch
    start_xvfb
    WINE_ENV_XVFB_PID=$XVFB_PID

    WINE_ENV_ROOT=$root
    WINE_ENV_PREFIX="$root/prefix-$$"
    WINE_ENV_LOG="$root/prefix-$$-start.log"
    rm -rf "$WINE_ENV_PREFIX"
    mkdir -p "$root"
    : >"$WINE_ENV_LOG"
    export WINEPREFIX=$WINE_ENV_PREFIX WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    log "Wine prefix $WINEPREFIX ($WINEARCH) on display $DISPLAY"
    wine_start_step "wineboot -i" 180 wineboot -i
    wine_start_step "wineserver -w" 60 wineserver -w
    # One persistent server for the run, and no 2 s stall per hidden window.
    wine_start_step "wineserver -p" 30 wineserver -p
    wine_start_step "wine reg add (Managed=N)" 60 \
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f
    # Start the services now, outside any pipe that ctest would wait on.
    timeout -k 5 120 wine wineboot >>"$WINE_ENV_LOG" 2>&1 || true
}

wine_env_stop() {
    if [ -n "$WINE_ENV_PREFIX" ]; then
        WINEPREFIX=$WINE_ENV_PREFIX timeout -k 5 30 wineserver -k 2>/dev/null || true
        WINEPREFIX=$WINE_ENV_PREFIX timeout -k 5 30 wineserver -w 2>/dev/null || true
        rm -rf "$WINE_ENV_PREFIX" "$WINE_ENV_LOG"
        WINE_ENV_PREFIX=
    fi
    if [ -n "$WINE_ENV_XVFB_PID" ]; then
        kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
        wait "$WINE_ENV_XVFB_PID" 2>/dev/null || true
        WINE_ENV_XVFB_PID=
    fi
}
