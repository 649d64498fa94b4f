#!/usr/bin/env bash
# Takes docs/board-1920.png and docs/board-3840.png: part of the board at real size as the
# real program under Wine shows it on a 1920- and a 3840-wide screen (cell sizes 79 and 159).
# With an earlier build's modalscope.exe, the same from it as docs/board-*-before.png.
#
# usage: tools/board_crops.sh [BEFORE.exe]
set -euo pipefail
source "$(dirname "$0")/common.sh"
fixed_layout "$@"
before=${1:+$(realpath "$1")}
cd "$MODALSCOPE_ROOT"

build_for_session
start_session "$MODALSCOPE_ROOT/build/windows/wineprefix-crops" 3840x1200
for screen in 1920:79 3840:159; do
    for exe in "$MODALSCOPE_ROOT/build/windows/app/modalscope.exe" ${before:+"$before"}; do
        out=docs/board-${screen%:*}.png
        [ "$exe" = "$before" ] && out=docs/board-${screen%:*}-before.png
        python3 tools/take_screenshot.py "$exe" \
            "$MODALSCOPE_ROOT/build/windows/tests/e2e/window_probe.exe" \
            "$MODALSCOPE_ROOT/cmake/wine-emulator.sh" "$out" "${screen#*:}"
    done
done
