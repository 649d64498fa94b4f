#!/usr/bin/env bash
# Builds everything and runs every test: the model and settings natively under ASan and
# UBSan, and the Windows build under Wine on a private Xvfb.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$MODALSCOPE_ROOT"

ensure_packages "${MODALSCOPE_PACKAGES[@]}"
trap stop_session EXIT

echo "== native build and tests (ASan, UBSan)"
cmake --preset host >/dev/null
cmake --build --preset host
ctest --preset host

echo "== settings reader fuzzing (libFuzzer, ASan, UBSan)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
ctest --preset fuzz

echo "== Windows build and tests under Wine"
cmake --preset windows >/dev/null
cmake --build --preset windows
start_xvfb 1024x768
start_wine "$MODALSCOPE_TEST_PREFIX"
use_virtual_desktop 1024x768
hold_desktop "$MODALSCOPE_ROOT/build/windows/tests/e2e/window_probe.exe"
ctest --preset windows
