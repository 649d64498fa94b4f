#!/usr/bin/env bash
# Builds the Windows program and starts it under Wine on the user's desktop, in the
# current folder (where it keeps "default.txt").
set -euo pipefail
source "$(dirname "$0")/common.sh"
here=$(pwd)
cd "$MODALSCOPE_ROOT"

ensure_packages "${MODALSCOPE_PACKAGES[@]}"
cmake --preset windows >/dev/null
cmake --build --preset windows

exe="$MODALSCOPE_ROOT/build/windows/app/modalscope.exe"
export WINEPREFIX="${WINEPREFIX:-$MODALSCOPE_ROOT/build/windows/wineprefix-desktop}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cd "$here"
exec wine "$exe"
