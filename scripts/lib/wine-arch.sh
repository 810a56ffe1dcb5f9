# Which Wine this machine runs, decided once per run. Sourced, not run.
#
# Some machines refuse every 32-bit x86 program ("Exec format error"), so the
# 32-bit Wine loader cannot start there. Those run the x86_64 build under
# 64-bit Wine in a win64 prefix instead. STAKKO_WINE_ARCH=win32|win64 set
# beforehand overrides the probe (win64 on a machine that runs both checks
# the 64-bit path).

STAKKO_I386_LOADER=${STAKKO_I386_LOADER:-/lib/ld-linux.so.2}

# choose_wine_arch: sets and exports STAKKO_WINE_ARCH (win32 or win64) and
# STAKKO_WINE_WHY, and says in one log line which way the run goes and why.
choose_wine_arch() {
    local answer
    if [ -n "${STAKKO_WINE_ARCH:-}" ]; then
        case "$STAKKO_WINE_ARCH" in
        win32 | win64) STAKKO_WINE_WHY="STAKKO_WINE_ARCH=$STAKKO_WINE_ARCH was set" ;;
        *) die "STAKKO_WINE_ARCH must be win32 or win64, not '$STAKKO_WINE_ARCH'" ;;
        esac
    elif [ ! -e "$STAKKO_I386_LOADER" ]; then
        STAKKO_WINE_ARCH=win64
        STAKKO_WINE_WHY="no i386 loader at $STAKKO_I386_LOADER"
    elif answer=$("$STAKKO_I386_LOADER" --version 2>&1 </dev/null); then
        STAKKO_WINE_ARCH=win32
        STAKKO_WINE_WHY="this machine runs 32-bit x86 programs ($STAKKO_I386_LOADER answers)"
    else
        STAKKO_WINE_ARCH=win64
        # The shell's own message names this script and line: the reason alone.
        answer=$(printf '%s' "$answer" | tail -1)
        answer=${answer##*: }
        STAKKO_WINE_WHY="this machine cannot run 32-bit x86 programs ($STAKKO_I386_LOADER: ${answer:-no answer})"
    fi
    export STAKKO_WINE_ARCH STAKKO_WINE_WHY
    if [ "$STAKKO_WINE_ARCH" = win32 ]; then
        log "i686 programs under 32-bit Wine: $STAKKO_WINE_WHY"
    else
        log "x86_64 programs under 64-bit Wine: $STAKKO_WINE_WHY"
    fi
}

# use_wine_arch: makes wine, wineserver and wineboot the ones of
# STAKKO_WINE_ARCH for this shell and its children. Debian's wine wrapper
# takes the 32-bit loader whenever wine32 is installed, so for win64 small
# wrappers that exec the 64-bit loader come first in PATH.
use_wine_arch() {
    export WINEARCH=$STAKKO_WINE_ARCH
    if [ "$STAKKO_WINE_ARCH" = win64 ]; then
        case ":$PATH:" in
        *":$STAKKO_ROOT/scripts/lib/wine64:"*) ;;
        *) export PATH="$STAKKO_ROOT/scripts/lib/wine64:$PATH" ;;
        esac
    fi
}

# The Windows build tree of each architecture and its toolchain file.
windows_build_dir() { # windows_build_dir i686|x86_64
    if [ "$1" = i686 ]; then echo "$STAKKO_BUILD/windows"; else echo "$STAKKO_BUILD/windows64"; fi
}
windows_toolchain() { echo "$STAKKO_ROOT/cmake/mingw-$1.cmake"; }

# build_scr ARCH: only the shipped .scr of ARCH's Windows build, configured
# as scripts/test configures it; sets SCR to the file. It is built in a tree
# of its own (stakko_scr) where the compilers' runtime needs it, else directly.
build_scr() {
    local dir target=stakko targets
    dir=$(windows_build_dir "$1")
    cmake -S "$STAKKO_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$(windows_toolchain "$1")" >/dev/null
    targets=$(cmake --build "$dir" --target help 2>/dev/null || true)
    if grep -qx '\.\.\. stakko_scr' <<<"$targets"; then
        target=stakko_scr
    fi
    cmake --build "$dir" --target "$target" -j "$(jobs_count)" >/dev/null
    SCR="$dir/saver/win32/stakko.scr"
}

# The architecture whose programs this machine's Wine runs.
runnable_arch() {
    if [ "$STAKKO_WINE_ARCH" = win32 ]; then echo i686; else echo x86_64; fi
}
