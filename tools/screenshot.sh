#!/usr/bin/env bash
# Takes docs/screenshot.png from the real program under Wine on a private Xvfb.
set -euo pipefail
source "$(dirname "$0")/common.sh"
fixed_layout "$@"
cd "$MODALSCOPE_ROOT"
out=${1:-docs/screenshot.png}

build_for_session
start_session "$MODALSCOPE_ROOT/build/windows/wineprefix-screenshot" 1024x768
python3 tools/take_screenshot.py "$MODALSCOPE_ROOT/build/windows/app/modalscope.exe" \
    "$MODALSCOPE_ROOT/build/windows/tests/e2e/window_probe.exe" \
    "$MODALSCOPE_ROOT/cmake/wine-emulator.sh" "$out"
