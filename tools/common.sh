# Shared by tools/run.sh and tools/test.sh: package installation and the Wine/Xvfb session.
# shellcheck shell=bash

MODALSCOPE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The Debian packages the build, the program and the tests need.
MODALSCOPE_PACKAGES=(cmake ninja-build g++ g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
    googletest wine wine64 xvfb xdotool x11-apps imagemagick python3 clang
    libclang-rt-14-dev zip)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs whichever of the given packages are missing.
ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" </dev/null
}

# Starts Xvfb on a free display of the given size and exports DISPLAY.
start_xvfb() {
    local size=${1:-1024x768}
    local n=91
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 </dev/null &
    MODALSCOPE_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && return 0
        sleep 0.1
    done
    echo "Xvfb did not start" >&2
    return 1
}

# Points Wine at a prefix, starts a persistent wineserver and boots the prefix. Output
# goes to /dev/null: Wine's helper processes would otherwise hold CTest's pipes open.
start_wine() {
    export WINEPREFIX=$1
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    mkdir -p "$WINEPREFIX"
    wineserver -p >/dev/null 2>&1 </dev/null
    wineboot >/dev/null 2>&1 </dev/null
    MODALSCOPE_WINE_STARTED=1
}

# Every Wine program of the prefix then opens in one virtual desktop, which also makes
# `wine prog.exe` return the program's own exit code. The desktop that booting the prefix
# created lives as long as the wineserver, so a newly set desktop needs a restarted one.
use_virtual_desktop() {
    local size=${1:-1024x768}
    grep -q "^\"Default\"=\"$size\"" "$WINEPREFIX/user.reg" 2>/dev/null && return 0
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 </dev/null
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$size" /f \
        >/dev/null 2>&1 </dev/null
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    wineserver -p >/dev/null 2>&1 </dev/null
    wineboot >/dev/null 2>&1 </dev/null
}

# Keeps the virtual desktop up with a hidden window for the rest of the session: a desktop
# left without clients shuts down, and a program started meanwhile can fail to start.
hold_desktop() {
    wine "$1" --hold >/dev/null 2>&1 </dev/null &
}

stop_session() {
    if [ -n "${MODALSCOPE_WINE_STARTED:-}" ]; then
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w >/dev/null 2>&1 || true
        MODALSCOPE_WINE_STARTED=
    fi
    if [ -n "${MODALSCOPE_XVFB_PID:-}" ]; then
        kill "$MODALSCOPE_XVFB_PID" 2>/dev/null || true
        wait "$MODALSCOPE_XVFB_PID" 2>/dev/null || true
        MODALSCOPE_XVFB_PID=
    fi
}
