# Shared by the tools and by the Wine wrapper of the Windows tests (cmake/wine-emulator.sh):
# the package lists, the one Wine environment and the private Xvfb/Wine session.
# shellcheck shell=bash

MODALSCOPE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# What building and running the program needs: the cross compiler and its binutils (windres,
# strip), the build tools, and Wine with its fonts (fonts-wine is only recommended by Wine,
# but without it the caption buttons have no glyphs).
MODALSCOPE_RUN_PACKAGES=(cmake ninja-build g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
    wine wine64 fonts-wine)
# The tests: the program's packages plus the native build, GoogleTest, the private display
# and the tools that drive and photograph it; makensis for the installer that the package
# test builds; git, whose commit dates the release and which the double build clones with;
# faketime, with which the release is built at another time of day; Pillow
# and DejaVu, with which the marker check draws the markers directly;
# the fuzzer's compiler and runtime; everything.
MODALSCOPE_TEST_PACKAGES=("${MODALSCOPE_RUN_PACKAGES[@]}" g++ googletest xvfb xdotool x11-apps
    imagemagick python3 zip nsis git faketime python3-pil fonts-dejavu-core)
MODALSCOPE_FUZZ_PACKAGES=(clang libclang-rt-dev)
MODALSCOPE_PACKAGES=("${MODALSCOPE_TEST_PACKAGES[@]}" "${MODALSCOPE_FUZZ_PACKAGES[@]}")

# The Windows tests' prefix: tools/test.sh boots it, and CTest's Wine wrapper uses it when
# nothing else is set up.
MODALSCOPE_TEST_PREFIX=$MODALSCOPE_ROOT/build/windows/wineprefix

# Builds the release packages of a commit with the app preset in a new clone in FOLDER
# (build/app in it). Given a tar file of the working tree (working_tree_tar), the clone
# first takes its files, dated now, so that changes not yet committed are built too.
build_release() {
    local folder=$1 commit
    commit=$(git -C "$MODALSCOPE_ROOT" rev-parse "$2^{commit}")
    git clone -q --no-checkout "$MODALSCOPE_ROOT" "$folder"
    git -C "$folder" checkout -q "$commit"
    [ -z "${3:-}" ] || tar -C "$folder" -m -xf "$3"
    (cd "$folder" && quietly cmake --preset app &&
        quietly cmake --build --preset app --target package)
}

# The working tree's files that git does not ignore, committed or not, as a tar file.
working_tree_tar() {
    git -C "$MODALSCOPE_ROOT" ls-files -z --cached --others --exclude-standard |
        tar -C "$MODALSCOPE_ROOT" --null --ignore-failed-read -T - -cf "$1"
}

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Runs a command with its output kept aside, shown only if it fails.
quietly() {
    local log status=0
    log=$(mktemp)
    "$@" >"$log" 2>&1 </dev/null || status=$?
    [ "$status" -eq 0 ] || cat "$log" >&2
    rm -f "$log"
    return "$status"
}

# Installs whichever of the given packages are missing, saying so in one line.
ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing ${missing[*]} (once; this can take a few minutes)..."
    # Root asks for no password; sudo may, so its prompt must not be hidden in the log.
    [ "$(id -u)" -eq 0 ] || sudo -v
    quietly as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q
    quietly as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
}

# The one Wine environment every Wine command of this project runs in: the given prefix,
# never the user's own (~/.wine); Wine's debug output off; and no .NET or HTML engine
# offered for download when the prefix is first booted.
use_wine_prefix() {
    export WINEPREFIX=$1
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
}

# Completes the prefix with what Debian's Wine leaves out. Wine draws caption buttons with
# its Marlett font, but Debian ships it in /usr/share/wine/fonts where Wine does not look;
# without it the buttons show as letters ("0 1 r"). Done before the prefix's first program.
complete_prefix() {
    local marlett=/usr/share/wine/fonts/marlett.ttf
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    [ -f "$marlett" ] || return 0
    cmp -s "$marlett" "$fonts/marlett.ttf" && return 0
    mkdir -p "$fonts"
    cp "$marlett" "$fonts/marlett.ttf"
}

# Starts Xvfb on a free display of the given size and exports DISPLAY. Xvfb picks the
# display itself: an X server of another mount namespace (a container, a chroot) holds its
# display's abstract socket with no file in this /tmp, which only binding the socket finds.
start_xvfb() {
    local size=${1:-1024x768}
    local ready n
    ready=$(mktemp)
    # It writes the display's number to the descriptor once it accepts connections.
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$ready" >/dev/null 2>&1 </dev/null &
    MODALSCOPE_XVFB_PID=$!
    if ! n=$(first_line "$ready" "$MODALSCOPE_XVFB_PID"); then
        echo "Xvfb did not start" >&2
        return 1
    fi
    export DISPLAY=":$n"
}

# The first line a process started in the background writes to FILE, once it is there (within
# a minute); fails if the process ends first. The file is removed either way.
first_line() {
    local file=$1 pid=$2 line i
    for i in $(seq 600); do
        if read -r line <"$file"; then
            rm -f "$file"
            echo "$line"
            return 0
        fi
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    rm -f "$file"
    return 1
}

# Points Wine at a prefix, starts a persistent wineserver and boots the prefix. Output
# goes to /dev/null: Wine's helper processes would otherwise hold CTest's pipes open.
start_wine() {
    use_wine_prefix "$1"
    mkdir -p "$WINEPREFIX"
    complete_prefix
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
# left without clients shuts down, and a program started meanwhile can fail to start. Returns
# once the window and so the desktop exist; until then the next program of the session would
# start the desktop itself, which keeps that program's error output open. Its word goes to a
# file, which the desktop holding it open keeps nobody waiting on.
hold_desktop() {
    local said
    said=$(mktemp)
    wine "$1" --hold >"$said" 2>/dev/null </dev/null &
    if ! first_line "$said" $! >/dev/null; then
        echo "the desktop's holder did not start" >&2
        return 1
    fi
}

# The program and the window list's probe built for a session, with what they need.
build_for_session() {
    ensure_packages "${MODALSCOPE_PACKAGES[@]}"
    cmake --preset windows >/dev/null
    cmake --build --preset windows --target modalscope window_probe "$@"
}

# Runs a command in process ids of its own (a PID namespace, where ids start from 1 and no
# other process takes any), and ends every process it left when it ends. Wine's server kills
# a new process that is given the Unix id of a Wine process that has just ended; on a machine
# whose 32768 ids wrap round every few thousand builds and test runs, that can befall any test
# of a long run at random, which then ends at once with no output. A run makes far fewer
# processes than there are ids, so in its own namespace no id comes round again. Where no
# namespace may be made (no root and no user namespaces), the command runs as it is.
in_own_pids() {
    local as=()
    [ "$(id -u)" -eq 0 ] || as=(--user --map-root-user)
    if unshare "${as[@]}" --pid --fork --kill-child --mount-proc true 2>/dev/null; then
        unshare "${as[@]}" --pid --fork --kill-child --mount-proc "$@"
    else
        "$@"
    fi
}

# Starts the calling script again, once, with the address space laid out without
# randomisation, which every program it starts then inherits. Debian 12's Wine has no
# preloader, which would reserve the pages Windows programs expect at fixed addresses before
# the Linux loader places anything there; its loader sits at 0x7d000000, and current kernels
# (6.18 here) start a program's heap anywhere in the gigabyte above it. About one Wine start
# in 7,700 then finds its heap over the shared user data page at 0x7ffe0000 and ends at once
# with 1 and no output: Wine's one word on it is an error message, which WINEDEBUG=-all
# hides. Not randomised, the heap starts right after the loader, 48 MB below that page. Where
# the system refuses (a container's seccomp filter may), the script goes on as it is.
# usage: fixed_layout "$@", with the script's own arguments, before it changes folder.
fixed_layout() {
    local arch
    [ -r /proc/$$/personality ] || return 0 # nothing to tell it by, so no second start
    layout_fixed && return 0
    arch=$(uname -m)
    setarch "$arch" -R true 2>/dev/null || return 0
    exec setarch "$arch" -R bash "$0" "$@"
}

layout_fixed() {
    local persona
    read -r persona </proc/$$/personality && ((0x$persona & 0x0040000)) # ADDR_NO_RANDOMIZE
}

# A whole session: a private Xvfb of the given size, the prefix booted on it, its programs
# in one virtual desktop of that size held up by a hidden window, and stop_session at exit.
start_session() {
    local prefix=$1 size=$2
    trap stop_session EXIT
    start_xvfb "$size"
    start_wine "$prefix"
    use_virtual_desktop "$size"
    hold_desktop "$MODALSCOPE_ROOT/build/windows/tests/e2e/window_probe.exe"
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
