# Shared by the scripts: packages, builds, an Xvfb display and a Wine prefix.
# Source it; it changes nothing until a function is called.

MORVANE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
MORVANE_BUILD="$MORVANE_ROOT/build"

# Everything the builds and tests need, from Debian's packages. wine32 stays
# out: it cannot run here and would make /usr/bin/wine pick the 32-bit loader.
MORVANE_PACKAGES="cmake ninja-build g++ make python3 libgtest-dev googletest
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
    g++-mingw-w64-i686-win32 gcc-mingw-w64-i686-win32 binutils-mingw-w64-x86-64
    binutils-mingw-w64-i686 wine wine64 xvfb xauth x11-utils imagemagick"

morvane_install_packages() {
    local missing=""
    for package in $MORVANE_PACKAGES; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" ||
            missing="$missing $package"
    done
    if [ -n "$missing" ]; then
        echo "Installing:$missing"
        apt-get update -qq
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
    fi
}

# morvane_configure NAME [cmake arguments...]: configures build/NAME once.
morvane_configure() {
    local name=$1
    shift
    if [ ! -f "$MORVANE_BUILD/$name/build.ninja" ]; then
        cmake -S "$MORVANE_ROOT" -B "$MORVANE_BUILD/$name" -G Ninja "$@"
    fi
}

morvane_build_native() {
    morvane_configure native -DMORVANE_SANITIZE=ON
    cmake --build "$MORVANE_BUILD/native"
}

morvane_build_win64() {
    morvane_configure win64 -DCMAKE_TOOLCHAIN_FILE="$MORVANE_ROOT/cmake/toolchain-win64.cmake"
    cmake --build "$MORVANE_BUILD/win64"
}

morvane_build_win32() {
    morvane_configure win32 -DCMAKE_TOOLCHAIN_FILE="$MORVANE_ROOT/cmake/toolchain-win32.cmake" \
        -DCMAKE_BUILD_TYPE=MinSizeRel
    cmake --build "$MORVANE_BUILD/win32"
}

# morvane_start_xvfb [WIDTHxHEIGHT]: a private X display; sets DISPLAY.
morvane_start_xvfb() {
    local size=${1:-1024x768}
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    MORVANE_XVFB_PID=$!
    local number
    read -r number <"$fifo"
    rm -f "$fifo"
    export DISPLAY=":$number"
}

# morvane_start_wine: the win64 build's own prefix, created once and warmed,
# detached from every pipe so that ctest does not wait on Wine's services.
morvane_start_wine() {
    export WINEPREFIX="$MORVANE_BUILD/win64/wineprefix"
    export WINEDEBUG=-all
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
        wineserver -w
    fi
    (setsid wineserver -p </dev/null >/dev/null 2>&1 &)
    setsid /usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1
}

# morvane_wine_log NAME: Wine's own messages of this run (ALSA's lines about
# the missing sound card, Wine's debug channels) go to build/NAME-wine.log,
# emptied here and named in the output.
morvane_wine_log() {
    MORVANE_WINE_LOG="$MORVANE_BUILD/$1-wine.log"
    : >"$MORVANE_WINE_LOG"
    echo "Wine's own messages go to $MORVANE_WINE_LOG"
}

# morvane_keep_wine_messages: filters a program's error output; Wine's own
# messages go to the log of morvane_wine_log, every other line (the errors
# of the programs and of Wine's loader) passes through to standard error.
morvane_keep_wine_messages() {
    local line
    while IFS= read -r line || [ -n "$line" ]; do
        case $line in
        "ALSA lib "* | [0-9a-f][0-9a-f][0-9a-f][0-9a-f]:[a-z]*:*)
            printf '%s\n' "$line" >>"$MORVANE_WINE_LOG"
            ;;
        *) printf '%s\n' "$line" >&2 ;;
        esac
    done
}

# A server or display that has already gone is no failure: under set -e a
# failing wineserver -k would end the caller before Xvfb is stopped.
morvane_stop() {
    if [ -n "${WINEPREFIX:-}" ]; then
        wineserver -k 2>/dev/null || true
    fi
    if [ -n "${MORVANE_XVFB_PID:-}" ]; then
        kill "$MORVANE_XVFB_PID" 2>/dev/null || true
    fi
    MORVANE_XVFB_PID=""
    return 0
}
