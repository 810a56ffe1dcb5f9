# Shared by the scripts: where things are, and installing what is missing.
# Sourced, not run.

STAKKO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
STAKKO_BUILD=${STAKKO_BUILD:-$STAKKO_ROOT/build}

# The tests read what tools print (the loader's "Exec format error", Wine's
# reg and ver, ctest's report): the same language whatever the user's locale.
export LC_ALL=C.UTF-8
unset LANGUAGE

# Packages for the native build, and those the Windows builds and Wine add:
# for i686 and x86_64 (the -win32 compilers build the shipped .scr files,
# the -posix ones the rest), and both Wine loaders, since which one this
# machine can run is only known once they are there (scripts/lib/wine-arch.sh).
NATIVE_PACKAGES=(cmake make g++ googletest libgtest-dev libbenchmark-dev python3
                 pkg-config libx11-dev libxft-dev fonts-liberation)
# What the hack's tests run it with: a private X server, the real daemon.
X11_PACKAGES=(xvfb x11-apps x11-utils xdotool imagemagick xscreensaver)
# The web page's compiler, and the browser its tests drive.
WEB_PACKAGES=(emscripten chromium chromium-driver python3-selenium)
MINGW_PACKAGES=(g++-mingw-w64-i686-posix g++-mingw-w64-i686-win32 mingw-w64-i686-dev
                g++-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-win32 mingw-w64-x86-64-dev)
WINDOWS_PACKAGES=("${MINGW_PACKAGES[@]}"
                  wine wine32:i386 wine64 xvfb xauth x11-utils xdotool imagemagick)

log() { printf '==> %s\n' "$*"; }
die() { printf 'error: %s\n' "$*" >&2; exit 1; }

package_installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# install_missing PACKAGE...: installs only what is not there yet; the i386
# architecture is added first when a :i386 package is asked for.
install_missing() {
    local missing=() pkg
    for pkg in "$@"; do
        package_installed "$pkg" || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    log "installing ${missing[*]}"
    if printf '%s\n' "${missing[@]}" | grep -q ':i386$' &&
        ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386
    fi
    export DEBIAN_FRONTEND=noninteractive
    as_root apt-get update -qq
    as_root apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=300 \
        "${missing[@]}" </dev/null
}

jobs_count() { nproc 2>/dev/null || echo 2; }

# configure_and_build DIR [CMAKE ARGS...]
configure_and_build() {
    local dir=$1
    shift
    cmake -S "$STAKKO_ROOT" -B "$dir" "$@" >/dev/null
    cmake --build "$dir" -j "$(jobs_count)"
}

# configure_and_build_web DIR: the web page's tree, with emscripten. Its
# tools run under the node on PATH, which may not be Debian's and then
# lacks the modules they need: those are Debian's, in /usr/share/nodejs.
configure_and_build_web() {
    export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
    mkdir -p "$1"
    emcmake cmake -S "$STAKKO_ROOT" -B "$1" -DCMAKE_BUILD_TYPE=Release >"$1/configure.log" 2>&1 ||
        { cat "$1/configure.log" >&2; return 1; }
    cmake --build "$1" -j "$(jobs_count)"
}

# The product's version: the one number in the root CMakeLists.txt's project().
project_version() {
    local version
    version=$(sed -n 's/^project(stakko VERSION \([0-9][0-9.]*\)[ )].*/\1/p' \
        "$STAKKO_ROOT/CMakeLists.txt")
    [ -n "$version" ] || die "no 'project(stakko VERSION X.Y.Z ...)' in $STAKKO_ROOT/CMakeLists.txt"
    echo "$version"
}
