# A private Xvfb display. Sourced, not run.

XVFB_PID=

# start_xvfb [WxHxD]: starts Xvfb (1024x768x24 by default) on a display
# number that the server picks itself and reports (-displayfd), so runs
# that start together never share a display; exports DISPLAY.
start_xvfb() {
    local file n tries=0
    file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "${1:-1024x768x24}" -nolisten tcp 3>"$file" >/dev/null 2>&1 &
    XVFB_PID=$!
    while [ ! -s "$file" ] && kill -0 "$XVFB_PID" 2>/dev/null && [ $tries -lt 100 ]; do
        sleep 0.1
        tries=$((tries + 1))
    done
    n=$(head -1 "$file")
    rm -f "$file"
    [ -n "$n" ] || die "Xvfb did not start"
    export DISPLAY=":$n"
}

stop_xvfb() {
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=
    fi
}

# display_reachable: DISPLAY is set and a server answers there.
display_reachable() {
    [ -n "${DISPLAY:-}" ] && timeout -k 2 5 xdpyinfo >/dev/null 2>&1
}
