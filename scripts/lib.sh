# shellcheck shell=bash
# Shared by the scripts: packages, builds, an Xvfb display and a Wine prefix.
# Source it; it changes nothing until a function is called.

MORVANE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
MORVANE_BUILD="$MORVANE_ROOT/build"

# Everything the builds and tests need, from Debian's packages. wine32 stays
# out: it cannot run here and would make /usr/bin/wine pick the 32-bit loader.
MORVANE_PACKAGES="cmake ninja-build g++ make python3 libgtest-dev googletest
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
    g++-mingw-w64-i686-win32 gcc-mingw-w64-i686-win32 binutils-mingw-w64-x86-64
    binutils-mingw-w64-i686 wine wine64 xvfb xauth x11-utils imagemagick nsis shellcheck
    locales ccache pulseaudio pulseaudio-utils fonts-vlgothic xdotool"

# The double-byte tests run Wine in this locale: its code page is 932.
MORVANE_DOUBLE_BYTE_LOCALE=ja_JP.UTF-8

# The version, as CMakeLists.txt names it, and the release zip that carries it.
MORVANE_VERSION=$(sed -n 's/^project(Morvane VERSION \([0-9.]*\) .*/\1/p' "$MORVANE_ROOT/CMakeLists.txt")
# shellcheck disable=SC2034 # read by the scripts that source this file
MORVANE_RELEASE_ZIP="Morvane-$MORVANE_VERSION-win32.zip"

# morvane_fail WHAT: the one line that says why a step cannot complete; kept
# in MORVANE_FAILURE for the caller that counts what could not run.
morvane_fail() {
    # shellcheck disable=SC2034 # read by the scripts that source this file
    MORVANE_FAILURE="$*"
    echo "$*" >&2
    return 1
}

# morvane_retry COMMAND...: a download step, tried up to three times with a
# growing pause between tries, as a mirror's or the network's hiccup passes.
morvane_retry() {
    local try pause=3
    for try in 1 2 3; do
        "$@" && return 0
        [ "$try" -eq 3 ] && return 1
        echo "$1 failed (try $try of 3); trying again in $pause s" >&2
        sleep "$pause"
        pause=$((pause * 3))
    done
}

# morvane_apt_missing LOG: what apt could not find or fetch, in one line.
morvane_apt_missing() {
    local packages
    packages=$(sed -nE "s/^E: Unable to locate package (.*)/\1/p
        s/^E: Version '(.*)' for '(.*)' was not found/\2=\1/p
        s/^E: Package '(.*)' has no installation candidate/\1/p" "$1" | tr '\n' ' ')
    if [ -n "$packages" ]; then
        echo "not in the package lists: ${packages% }"
    else
        grep -E '^E: ' "$1" | head -n 1 | cut -c1-200
    fi
}

morvane_install_packages() {
    morvane_install_debian_packages && morvane_generate_locale
}

# morvane_generate_locale: the double-byte tests' locale, made once from the
# definitions of the package locales.
morvane_generate_locale() {
    locale -a 2>/dev/null | grep -qix "${MORVANE_DOUBLE_BYTE_LOCALE/UTF-8/utf8}" && return 0
    localedef -i "${MORVANE_DOUBLE_BYTE_LOCALE%%.*}" -f UTF-8 "$MORVANE_DOUBLE_BYTE_LOCALE" ||
        { morvane_fail "The locale $MORVANE_DOUBLE_BYTE_LOCALE cannot be generated"; return 1; }
}

morvane_install_debian_packages() {
    local missing="" package
    for package in $MORVANE_PACKAGES; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" ||
            missing="$missing $package"
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    mkdir -p "$MORVANE_BUILD"
    local log="$MORVANE_BUILD/apt.log"
    # A list that fails to update (a mirror in the middle of a sync) is only a
    # warning: the install decides whether what it needs is there.
    morvane_retry apt-get update -qq >"$log" 2>&1 ||
        echo "Some package lists were not updated (see $log); installing from the others." >&2
    # shellcheck disable=SC2086 # one argument per package
    morvane_retry env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
        --no-install-recommends $missing >>"$log" 2>&1 ||
        { morvane_fail "Packages cannot be installed: $(morvane_apt_missing "$log")"; return 1; }
}

# morvane_configure NAME [cmake arguments...]: configures build/NAME once,
# compiling through ccache.
morvane_configure() {
    local name=$1
    shift
    if [ ! -f "$MORVANE_BUILD/$name/build.ninja" ]; then
        cmake -S "$MORVANE_ROOT" -B "$MORVANE_BUILD/$name" -G Ninja \
            -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache "$@"
    fi
}

# morvane_compile NAME: builds build/NAME. The compiled objects stay in a cache
# outside every clone, like the downloaded packages; the clone's own paths are
# hashed relative to it, so a second clone on this machine compiles only what
# differs from the first.
morvane_compile() {
    CCACHE_DIR=/var/cache/morvane/ccache CCACHE_BASEDIR="$MORVANE_ROOT" CCACHE_NOHASHDIR=1 \
        cmake --build "$MORVANE_BUILD/$1"
}

morvane_build_native() {
    morvane_configure native -DMORVANE_SANITIZE=ON
    morvane_compile native
}

morvane_build_win64() {
    morvane_configure win64 -DCMAKE_TOOLCHAIN_FILE="$MORVANE_ROOT/cmake/toolchain-win64.cmake"
    morvane_compile win64
}

morvane_build_win32() {
    morvane_configure win32 -DCMAKE_TOOLCHAIN_FILE="$MORVANE_ROOT/cmake/toolchain-win32.cmake" \
        -DCMAKE_BUILD_TYPE=MinSizeRel
    morvane_compile win32
}

# morvane_start_xvfb [WIDTHxHEIGHT[xDEPTH] [TOP BOTTOM]]: a private X display,
# 24 bits deep unless told; sets DISPLAY once the server answers on it, and
# fails with the reason when it does not within 20 s. TOP and BOTTOM stand in
# for bars docked at the screen's edges (a taskbar): that many rows are left
# out of the work area that Wine reads (_NET_WORKAREA) when its session starts.
morvane_start_xvfb() {
    local size=${1:-1024x768}
    [[ $size == *x*x* ]] || size="${size}x24"
    local fifo number=""
    fifo=$(mktemp -u)
    mkfifo "$fifo" || { morvane_fail "Xvfb: cannot make $fifo"; return 1; }
    # -noreset: the work area outlives the client that sets it.
    Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
    MORVANE_XVFB_PID=$!
    read -r -t 20 number <"$fifo"
    rm -f "$fifo"
    if [ -z "$number" ] || ! timeout 20 xdpyinfo -display ":$number" >/dev/null 2>&1; then
        kill "$MORVANE_XVFB_PID" 2>/dev/null
        MORVANE_XVFB_PID=""
        morvane_fail "Xvfb did not start a usable display within 20 s"
        return 1
    fi
    export DISPLAY=":$number"
    if [ -n "${2:-}" ]; then
        local width=${size%%x*} height=${size#*x}
        height=${height%%x*}
        xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA \
            "0, $2, $width, $((height - $2 - $3))" ||
            { morvane_fail "cannot set the work area of display $DISPLAY"; return 1; }
    fi
}

# morvane_start_sound DIR: a private sound server for one tier, its socket,
# state and log in DIR: a null sink (float, 48 kHz, stereo) that nobody hears
# and whose monitor the tests record. Wine's programs reach it through
# PULSE_SERVER, exported once it answers; a server that does not answer
# within 20 s fails the start with the reason. A PULSE_SERVER set before
# (a caller's own choice) is kept and no server is started.
morvane_start_sound() {
    local dir=$1
    [ -n "${PULSE_SERVER:-}" ] && return 0
    rm -rf "$dir"
    mkdir -p "$dir/home" "$dir/runtime" || { morvane_fail "sound server: cannot make $dir"; return 1; }
    chmod 700 "$dir/runtime"
    cat >"$dir/server.pa" <<SERVER
load-module module-null-sink sink_name=nullsink format=float32le rate=48000 channels=2
set-default-sink nullsink
load-module module-native-protocol-unix auth-anonymous=1 socket=$dir/socket
SERVER
    # Root has no session bus here, and no server starts on its own for it.
    HOME="$dir/home" XDG_RUNTIME_DIR="$dir/runtime" XDG_CONFIG_HOME="$dir/home" \
        pulseaudio -n -F "$dir/server.pa" --daemonize=no --exit-idle-time=-1 \
        --system=false --use-pid-file=false --log-target="file:$dir/server.log" \
        </dev/null >/dev/null 2>&1 &
    MORVANE_SOUND_PID=$!
    if ! morvane_wait_for 20 morvane_sound_answers_or_ended "unix:$dir/socket" ||
        ! kill -0 "$MORVANE_SOUND_PID" 2>/dev/null; then
        morvane_stop_sound
        morvane_fail "The sound server did not start within 20 s (see $dir/server.log)"
        return 1
    fi
    export PULSE_SERVER="unix:$dir/socket"
}

# morvane_sound_answers_or_ended SERVER: the started server answers on
# SERVER, or it has ended and never will.
morvane_sound_answers_or_ended() {
    PULSE_SERVER="$1" timeout 5 pactl info >/dev/null 2>&1 || ! kill -0 "$MORVANE_SOUND_PID" 2>/dev/null
}

# morvane_wait_for SECONDS COMMAND...: runs COMMAND every 0.2 s until it
# succeeds; fails when it has not within SECONDS, the time COMMAND itself
# takes included.
morvane_wait_for() {
    local deadline=$(($(morvane_now_ms) + $1 * 1000))
    shift
    until "$@"; do
        [ "$(morvane_now_ms)" -lt "$deadline" ] || return 1
        sleep 0.2
    done
}

# morvane_now_ms: the wall clock in milliseconds.
morvane_now_ms() {
    local microseconds=${EPOCHREALTIME//[!0-9]/}
    echo $((microseconds / 1000))
}

# morvane_bound SECONDS: a test's bound, lengthened by the tier's one factor
# as the C++ tests' are: MORVANE_TIME_SCALE when it is a whole number above 1.
morvane_bound() {
    local scale=${MORVANE_TIME_SCALE:-1}
    [[ $scale =~ ^[0-9]+$ ]] && [ "$scale" -gt 1 ] || scale=1
    echo $(($1 * scale))
}

# morvane_stop_sound: ends the private sound server, if one was started.
morvane_stop_sound() {
    if [ -n "${MORVANE_SOUND_PID:-}" ]; then
        kill "$MORVANE_SOUND_PID" 2>/dev/null || true
        wait "$MORVANE_SOUND_PID" 2>/dev/null || true
        unset PULSE_SERVER
    fi
    MORVANE_SOUND_PID=""
    return 0
}

# morvane_make_prefix WINE: makes WINEPREFIX with WINE's wineboot unless a
# finished one is there; a half-made prefix (wineboot stopped or failed) is
# made anew.
morvane_make_prefix() {
    local wine=$1 stamp="$WINEPREFIX/.morvane-prefix-made"
    [ -f "$stamp" ] && return 0
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    if ! "$wine" wineboot -i >/dev/null 2>&1 || ! "${WINESERVER:-wineserver}" -w ||
        [ ! -f "$WINEPREFIX/system.reg" ]; then
        morvane_fail "wineboot could not make the Wine prefix $WINEPREFIX"
        return 1
    fi
    touch "$stamp"
}

# morvane_start_wine: the win64 build's own prefix, made once, set to the
# screen's pixels per inch (MORVANE_PIXELS_PER_INCH, 96 unless set), and
# warmed, detached from every pipe so that ctest does not wait on Wine's
# services.
morvane_start_wine() {
    export WINEPREFIX="$MORVANE_BUILD/win64/wineprefix"
    export WINEDEBUG=-all
    morvane_make_prefix /usr/lib/wine/wine64 || return 1
    morvane_set_pixels_per_inch "${MORVANE_PIXELS_PER_INCH:-96}" || return 1
    morvane_start_sound "$MORVANE_BUILD/win64/sound" || return 1
    (setsid wineserver -p </dev/null >/dev/null 2>&1 &)
    morvane_warm_prefix /usr/lib/wine/wine64 ||
        { morvane_fail "wine64 cannot run a program in $WINEPREFIX"; return 1; }
}

# morvane_set_pixels_per_inch N: the screen's pixels per inch as the
# prefix's user tells them (HKCU\Control Panel\Desktop, LogPixels), read by
# Wine when its server starts: written into the registry file while the
# prefix's server is down.
morvane_set_pixels_per_inch() {
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    python3 - "$WINEPREFIX/user.reg" "$1" <<'PYTHON' ||
import re, sys
path, dpi = sys.argv[1], int(sys.argv[2])
with open(path, encoding="latin-1") as f:
    text = f.read()
line = '"LogPixels"=dword:%08x\n' % dpi
section = re.search(r"^\[Control Panel\\\\Desktop\] .*\n(?:.+\n)*", text, re.M)
if not section:
    text += "\n[Control Panel\\\\Desktop] 0\n" + line
else:
    body = re.sub(r'^"LogPixels"=.*\n', "", section.group(0), flags=re.M)
    text = text[:section.start()] + body + line + text[section.end():]
with open(path, "w", encoding="latin-1") as f:
    f.write(text)
PYTHON
        { morvane_fail "cannot set $1 pixels per inch in $WINEPREFIX"; return 1; }
}

# morvane_warm_prefix WINE: runs one program in WINEPREFIX, so that its
# services are up before the first test, and sets how Wine draws on this
# display:
# - whether a window manager is there. On a private Xvfb there is none: Wine
#   would wait 2 s at every hide of a managed window for a withdrawal nobody
#   confirms;
# - on a screen of 256 colours, drawing through the X11 driver: Wine's
#   client-side window surfaces take their colours from a fixed table, never
#   from a program's palette, while through the driver a realised palette
#   reaches the screen, as on Windows.
morvane_warm_prefix() {
    local managed=Y client_side=Y settings="$WINEPREFIX/morvane-display.reg"
    [ -n "${MORVANE_XVFB_PID:-}" ] && managed=N
    xdpyinfo 2>/dev/null | grep -Eq 'depth of root window: +8 planes' && client_side=N
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n"Managed"="%s"\n"ClientSideGraphics"="%s"\n' \
        "$managed" "$client_side" >"$settings" || return 1
    setsid "$1" regedit /S "Z:${settings//\//\\}" </dev/null >/dev/null 2>&1
}

# The emulated 32-bit Wine that runs the win32 build: this machine cannot
# execute 32-bit code, so Debian's i386 Wine runs under qemu-user's qemu-i386
# (10.0 of bookworm-backports: Debian 12's own 7.2 crashes DirectShow
# programs). Both are downloaded with a private apt state and unpacked with
# dpkg -x into build/wine32/root; nothing is installed into the system and
# the system's dpkg architectures and apt lists stay as they are.
MORVANE_WINE32="$MORVANE_BUILD/wine32"
MORVANE_WINE32_ROOT="$MORVANE_WINE32/root"
MORVANE_WINE32_PREFIX="$MORVANE_BUILD/win32/wineprefix"
# What the i386 Wine loads at run time besides its own packages.
MORVANE_WINE32_LIBRARIES=(libfreetype6 libfontconfig1 libx11-6 libxext6 libxcomposite1
    libxcursor1 libxfixes3 libxi6 libxinerama1 libxrandr2 libxrender1 libxxf86vm1 libgnutls30
    libpulse0)

# The downloaded packages and lists of the emulated Wine's private apt state
# stay here, outside every clone: a second clone on this machine downloads
# nothing, and apt checks what it takes from here against the lists.
MORVANE_WINE32_APT="/var/cache/morvane/wine32-apt"

# morvane_wine32_missing WHAT: the one line that ends a set-up that cannot complete.
morvane_wine32_missing() {
    morvane_fail "win32 Wine set-up failed: $*"
}

# morvane_wine32_apt_get ARGUMENTS...: apt-get on the private state, for
# i386 (and amd64, for qemu-user).
morvane_wine32_apt_get() {
    local state="$MORVANE_WINE32_APT"
    apt-get -q -o "Dir::State=$state" -o "Dir::State::status=$state/status" \
        -o "Dir::Cache=$state" -o "Dir::Etc::SourceList=$state/sources.list" \
        -o "Dir::Etc::SourceParts=$state/sources.list.d" \
        -o "Dir::Etc::PreferencesParts=$state/preferences.d" -o "APT::Architecture=i386" \
        -o "APT::Architectures::=i386" -o "APT::Architectures::=amd64" \
        -o "APT::Sandbox::User=root" "$@"
}

# morvane_wine32_apt ARGUMENTS...: the same, its output in build/wine32/apt.log.
morvane_wine32_apt() {
    morvane_wine32_apt_get "$@" >>"$MORVANE_WINE32/apt.log" 2>&1
}

# morvane_debian_mirror: the address the machine's own apt sources take
# Debian's release (bookworm) from: a machine may use a mirror or a proxy of
# its own, so the repository names none.
morvane_debian_mirror() {
    local codename
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    {
        cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
            awk -v suite="$codename" '$1 == "deb" {
                sub(/ \[[^]]*\]/, ""); if ($3 == suite) print $2 }'
        cat /etc/apt/sources.list.d/*.sources 2>/dev/null |
            awk -v suite="$codename" 'BEGIN { RS = ""; FS = "\n" } {
                uri = ""; found = 0; enabled = 1
                for (i = 1; i <= NF; i++) {
                    split($i, word, /[ \t]+/)
                    if (word[1] == "URIs:") uri = word[2]
                    if (word[1] == "Enabled:" && word[2] == "no") enabled = 0
                    if (word[1] == "Suites:") for (w in word) if (word[w] == suite) found = 1
                }
                if (found && enabled && uri != "") print uri }'
    } | head -n 1
}

# morvane_wine32_sources: the machine's own sources, and its Debian mirror's
# backports suite for qemu-user.
morvane_wine32_sources() {
    local state="$MORVANE_WINE32_APT" mirror codename
    rm -rf "$state/sources.list.d"
    mkdir -p "$state/sources.list.d" || return 1
    cp /etc/apt/sources.list "$state/sources.list" 2>/dev/null || : >"$state/sources.list"
    cp /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources "$state/sources.list.d/" \
        2>/dev/null
    mirror=$(morvane_debian_mirror)
    [ -n "$mirror" ] || { morvane_wine32_missing "no Debian source in /etc/apt"; return 1; }
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg]" \
        "$mirror $codename-backports main" >"$state/sources.list.d/morvane-backports.list"
}

# morvane_wine32_download VERSION LIST: the packages of the emulated Wine in
# the cache, downloaded where missing; the names of their files there go to
# LIST.
morvane_wine32_download() {
    local version=$1 list=$2 state="$MORVANE_WINE32_APT"
    mkdir -p "$state/lists/partial" "$state/archives/partial" "$state/preferences.d" ||
        { morvane_wine32_missing "cannot write $state"; return 1; }
    [ -f "$state/status" ] || : >"$state/status"
    morvane_wine32_sources || return 1
    # A list that fails to update is only a warning: the lists of the last
    # update stay, and the pinned install decides what is really missing.
    morvane_retry morvane_wine32_apt update ||
        echo "Some package lists of the emulated Wine were not updated (see $MORVANE_WINE32/apt.log)." >&2
    local packages=("wine32=$version" "wine32-preloader=$version" "libwine=$version"
        libz-mingw-w64 "${MORVANE_WINE32_LIBRARIES[@]}")
    morvane_retry morvane_wine32_apt install --download-only -y --no-install-recommends \
        "${packages[@]}" ||
        { morvane_wine32_missing "i386 Wine $version: $(morvane_apt_missing "$MORVANE_WINE32/apt.log")"; return 1; }
    local qemu=(qemu-user:amd64/"$(. /etc/os-release && echo "$VERSION_CODENAME")"-backports)
    morvane_retry morvane_wine32_apt install --download-only -y --no-install-recommends \
        "${qemu[@]}" ||
        { morvane_wine32_missing "qemu-user of backports: $(morvane_apt_missing "$MORVANE_WINE32/apt.log")"; return 1; }
    # Only the files this install takes: the cache may hold older versions.
    { morvane_wine32_apt_get -s install --no-install-recommends "${packages[@]}"
      morvane_wine32_apt_get -s install --no-install-recommends "${qemu[@]}"; } 2>/dev/null |
        sed -nE 's/^Inst ([^: ]+)(:[a-z0-9]+)? \(([^ ]+) .*\[([a-z0-9]+)\]\).*/\1_\3_\4.deb/p' |
        sed 's/:/%3a/' >"$list"
}

# morvane_wine32_locked COMMAND...: one set-up at a time uses the cache.
morvane_wine32_locked() {
    local lock result
    mkdir -p "$MORVANE_WINE32_APT" || { morvane_wine32_missing "cannot write $MORVANE_WINE32_APT"; return 1; }
    exec {lock}>>"$MORVANE_WINE32_APT/lock"
    flock "$lock"
    "$@"
    result=$?
    exec {lock}>&-
    return $result
}

# morvane_prepare_wine32_root: downloads and unpacks the emulated Wine once;
# again when the host's wine64 changes version (the i386 files must match it),
# and then with a new prefix.
morvane_prepare_wine32_root() {
    local version
    version=$(dpkg-query -W -f='${Version}' wine64 2>/dev/null) ||
        { morvane_wine32_missing "the host's wine64 is not installed"; return 1; }
    # The stamp names the layout too, so that a folder of an older layout is made anew.
    local stamp="$version, i386 preloader wrapped, with sound"
    [ "$(cat "$MORVANE_WINE32_ROOT/.wine64-version" 2>/dev/null)" = "$stamp" ] && return 0
    echo "Setting up the emulated 32-bit Wine $version in $MORVANE_WINE32_ROOT" >&2
    rm -rf "$MORVANE_WINE32" "$MORVANE_WINE32_PREFIX"
    local root="$MORVANE_WINE32/root.partial" list="$MORVANE_WINE32/packages"
    mkdir -p "$root" || { morvane_wine32_missing "cannot write $MORVANE_WINE32"; return 1; }
    morvane_wine32_locked morvane_wine32_download "$version" "$list" || return 1
    local file
    while read -r file; do
        dpkg -x "$MORVANE_WINE32_APT/archives/$file" "$root" ||
            { morvane_wine32_missing "cannot unpack $file"; return 1; }
    done <"$list"
    morvane_wine32_complete "$root" || return 1
    echo "$stamp" >"$root/.wine64-version"
    mv "$root" "$MORVANE_WINE32_ROOT"
}

# morvane_wine32_complete ROOT: what the packages' install scripts would have
# done, and the loader that runs under qemu-i386.
morvane_wine32_complete() {
    local root=$1
    local lib="$root/usr/lib/wine" dlls="$root/usr/lib/i386-linux-gnu/wine/i386-windows"
    local file
    for file in "$root/usr/bin/qemu-i386" "$lib/wine" "$lib/wine-preloader" \
        "$root/usr/i686-w64-mingw32/lib/zlib1.dll" "$dlls/rundll32.exe"; do
        [ -e "$file" ] || { morvane_wine32_missing "${file#"$root"} is in no downloaded package"; return 1; }
    done
    # An own library cache: otherwise the emulated loader takes the host's
    # 32-bit libraries and Wine finds no FreeType.
    echo 'include /etc/ld.so.conf.d/*.conf' >"$root/etc/ld.so.conf"
    ldconfig -r "$root" || { morvane_wine32_missing "ldconfig of $root"; return 1; }
    # Wine's zlib1.dll is MinGW's, marked as a builtin DLL at offset 64.
    cp "$root/usr/i686-w64-mingw32/lib/zlib1.dll" "$dlls/zlib1.dll"
    printf 'Wine builtin DLL\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0' |
        dd of="$dlls/zlib1.dll" bs=1 seek=64 conv=notrunc status=none
    # Wine starts a process with "BIN/wine-preloader LOADER PROGRAM..." (LOADER
    # being the running loader, or it with 64 appended for a 64-bit program,
    # whose preloader is BIN/wine64-preloader) and, when that fails, with
    # "LOADER PROGRAM..."; BIN is the folder of the running executable. Else
    # it runs a 32-bit program inside the 64-bit loader, which cannot open a
    # window. So Wine's folder holds the i386 wine, a copy of the host's wine64
    # and, as wine-preloader, a wrapper that runs the i386 preloader under
    # qemu-i386: this machine cannot execute i386 files. -R and the preloader
    # keep Wine's address space reservations working: without them a program
    # takes about 50 s to start.
    cp /usr/lib/wine/wine64 "$lib/wine64"
    mkdir -p "$root/usr/lib/x86_64-linux-gnu"
    ln -s /usr/lib/x86_64-linux-gnu/wine "$root/usr/lib/x86_64-linux-gnu/wine"
    rm "$lib/wine-preloader"
    cat >"$lib/wine-preloader" <<'WRAPPER'
#!/bin/sh
root=$(cd "$(dirname "$0")/../../.." && pwd)
export WINELOADERNOEXEC=1
exec "$root/usr/bin/qemu-i386" -R 0xffff0000 -L "$root" "$root/usr/lib/wine/wine-preloader.static" "$@"
WRAPPER
    # What starts a 32-bit program from the host.
    # shellcheck disable=SC2016 # the wrapper expands its own variables
    printf '#!/bin/sh\nlib=$(dirname "$0")/../lib/wine\nexec "$lib/wine-preloader" "$lib/wine" "$@"\n' \
        >"$root/usr/bin/wine32"
    chmod +x "$lib/wine-preloader" "$root/usr/bin/wine32"
}

# morvane_wine32_environment: the variables that run programs in the win32
# build's prefix, whose 64-bit side is the host's wine64: MORVANE_WINE32_LOADER
# starts a 32-bit program, MORVANE_WINE64 (which scripts/wine-run takes) a
# 64-bit one.
morvane_wine32_environment() {
    export WINEPREFIX="$MORVANE_WINE32_PREFIX"
    export WINEDEBUG="${WINEDEBUG:--all}"
    export WINESERVER=/usr/lib/wine/wineserver64
    export WINEDLLPATH="$MORVANE_WINE32_ROOT/usr/lib/i386-linux-gnu/wine"
    export MORVANE_WINE32_LOADER="$MORVANE_WINE32_ROOT/usr/bin/wine32"
    export MORVANE_WINE64="$MORVANE_WINE32_ROOT/usr/lib/wine/wine64"
}

# morvane_prepare_wine32_prefix: the win32 build's own prefix, made once: a
# 64-bit prefix (its services run on the host's wine64) whose syswow64 holds
# the i386 DLLs.
morvane_prepare_wine32_prefix() {
    [ -f "$WINEPREFIX/.syswow64-filled" ] && return 0
    rm -rf "$WINEPREFIX"
    morvane_make_prefix "$MORVANE_WINE64" || return 1
    # The 64-bit wineboot finds no 32-bit rundll32 to fill syswow64.
    cp -r "$WINEDLLPATH/i386-windows/." "$WINEPREFIX/drive_c/windows/syswow64/" ||
        { morvane_wine32_missing "cannot fill $WINEPREFIX"; return 1; }
    local log="$MORVANE_WINE32/prefix.log"
    WINEBOOTSTRAPMODE=1 "$MORVANE_WINE32_LOADER" rundll32.exe setupapi,InstallHinfSection Wow64Install 128 \
        "$(winepath -w "$MORVANE_WINE32_ROOT/usr/share/wine/wine.inf" 2>/dev/null)" >"$log" 2>&1
    "$WINESERVER" -w
    # A bare "cmd" goes through start.exe: one 32-bit program starting another.
    "$MORVANE_WINE32_LOADER" cmd /c exit >>"$log" 2>&1 ||
        { morvane_wine32_missing "32-bit programs do not start in $WINEPREFIX (see $log)"; return 1; }
    "$WINESERVER" -w
    touch "$WINEPREFIX/.syswow64-filled"
}

# morvane_prepare_wine32: the emulated Wine and the win32 build's prefix,
# ready to run win32 programs; sets their variables.
morvane_prepare_wine32() {
    morvane_prepare_wine32_root || return 1
    morvane_wine32_environment
    morvane_prepare_wine32_prefix
}

# morvane_start_wine32: prepared, and the prefix's session warmed like the
# win64 prefix's.
morvane_start_wine32() {
    morvane_prepare_wine32 || return 1
    morvane_start_sound "$MORVANE_BUILD/win32/sound" || return 1
    (setsid "$WINESERVER" -p </dev/null >/dev/null 2>&1 &)
    morvane_warm_prefix "$MORVANE_WINE64" ||
        { morvane_wine32_missing "wine64 cannot run a program in $WINEPREFIX"; return 1; }
}

# morvane_wine_log NAME: Wine's own messages of this run (ALSA's lines about
# the missing sound card, Wine's debug channels) go to build/NAME-wine.log,
# emptied here and named in the output.
morvane_wine_log() {
    MORVANE_WINE_LOG="$MORVANE_BUILD/$1-wine.log"
    : >"$MORVANE_WINE_LOG"
    echo "Wine's own messages go to $MORVANE_WINE_LOG"
}

# Wine's own messages: ALSA's lines, and Wine's debug channels with or
# without a timestamp in front.
morvane_is_wine_message() {
    case $1 in
    "ALSA lib "* | [0-9a-f][0-9a-f][0-9a-f][0-9a-f]:[a-z]*:* | [0-9]*.[0-9][0-9][0-9]:[0-9a-f][0-9a-f][0-9a-f][0-9a-f]:*)
        return 0 ;;
    esac
    return 1
}

# morvane_keep_wine_messages: filters a program's error output; Wine's own
# messages go to the log of morvane_wine_log, every other line (the errors
# of the programs and of Wine's loader) passes through to standard error.
morvane_keep_wine_messages() {
    local line
    while IFS= read -r line || [ -n "$line" ]; do
        if morvane_is_wine_message "$line"; then
            printf '%s\n' "$line" >>"$MORVANE_WINE_LOG"
        else
            printf '%s\n' "$line" >&2
        fi
    done
}

# morvane_show_errors_of_log FILE: the lines of a captured error output that
# are not Wine's own, to standard error.
morvane_show_errors_of_log() {
    local line
    while IFS= read -r line || [ -n "$line" ]; do
        morvane_is_wine_message "$line" || printf '%s\n' "$line" >&2
    done <"$1"
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
    morvane_stop_sound
}
