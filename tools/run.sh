#!/usr/bin/env bash
# Builds the Windows program and starts it under Wine on the user's desktop, in the current
# folder (where it keeps "default.txt"). The first start installs what the program needs
# and builds it; later starts rebuild only what changed, and start at once when nothing did.
set -euo pipefail
source "$(dirname "$0")/common.sh"
fixed_layout "$@"
here=$(pwd)
cd "$MODALSCOPE_ROOT"

if [ -z "${DISPLAY:-}" ]; then
    echo "tools/run.sh: no desktop to show the window on (DISPLAY is not set)" >&2
    exit 1
fi

ensure_packages "${MODALSCOPE_RUN_PACKAGES[@]}"

# The program alone, in a build folder of its own: no test package is needed, and the test
# build (build/windows) is left as it is.
build=build/app
if [ ! -f "$build/build.ninja" ] ||
    ! ninja -C "$build" -n modalscope 2>/dev/null | grep -q "no work to do"; then
    echo "Building modalscope.exe in $build..."
    [ -f "$build/build.ninja" ] || quietly cmake --preset app
    quietly cmake --build --preset app
fi

# A prefix of its own: the user's Wine set-up (~/.wine, or WINEPREFIX) is neither used nor
# changed.
use_wine_prefix "$MODALSCOPE_ROOT/$build/wineprefix"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Setting up the Wine prefix in $build/wineprefix..."
    mkdir -p "$WINEPREFIX"
    complete_prefix
    wineboot >/dev/null 2>&1 </dev/null
fi
complete_prefix

cd "$here"
exec wine "$MODALSCOPE_ROOT/$build/app/modalscope.exe"
