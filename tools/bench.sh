#!/usr/bin/env bash
# Builds and runs the benchmarks: the model natively at -O2, then the shell's frame and
# the program's start-up under Wine on a private Xvfb and Wine prefix. Every figure is a
# ratio of timings taken side by side in the same run.
set -euo pipefail
source "$(dirname "$0")/common.sh"
fixed_layout "$@"
cd "$MODALSCOPE_ROOT"

ensure_packages "${MODALSCOPE_PACKAGES[@]}"
trap stop_session EXIT

echo "== native benchmark (-O2)"
cmake --preset bench >/dev/null
cmake --build --preset bench
build/bench/tests/benchmarks/relabel_bench

# A build folder of its own, so the benchmarks never disturb the test build.
echo "== Windows build with benchmarks"
winbuild=build/windows-bench
cmake --preset windows -B "$winbuild" -DMODALSCOPE_BENCH=ON -DMODALSCOPE_TESTS=OFF >/dev/null
cmake --build "$winbuild"

# Room for the frame at the cell sizes of 1024-, 1920- and 3840-wide screens.
start_xvfb 3840x1200
start_wine "$MODALSCOPE_ROOT/build/bench-wine/prefix"
use_virtual_desktop 3840x1200

echo "== frame benchmark under Wine"
wine "$winbuild/tests/benchmarks/present_frame_bench.exe" 42 79 159 </dev/null

echo "== a storm of arrow keys under Wine"
wine "$winbuild/tests/benchmarks/key_storm_bench.exe" </dev/null

echo "== start-up benchmark under Wine"
real=$(winepath -w "$MODALSCOPE_ROOT/$winbuild/app/modalscope.exe" 2>/dev/null)
minimal=$(winepath -w "$MODALSCOPE_ROOT/$winbuild/tests/benchmarks/minimal_window.exe" 2>/dev/null)
wine "$winbuild/tests/benchmarks/startup_bench.exe" "$real" "$minimal" </dev/null

echo "== start-up steps inside the program"
steps=build/bench-wine/steps
mkdir -p "$steps"
printf 'Width 1015\n' >"$steps/default.txt"
(cd "$steps" && wine "$MODALSCOPE_ROOT/$winbuild/tests/benchmarks/startup_phases.exe" </dev/null)

echo "== start-up as seen on the screen"
/usr/bin/python3 tests/benchmarks/startup_pixel.py 60 \
    bare="$winbuild/tests/benchmarks/minimal_window.exe" \
    modalscope="$winbuild/app/modalscope.exe" \
    bare_with_cc6_manifest="$winbuild/tests/benchmarks/minimal_window_cc6.exe"
