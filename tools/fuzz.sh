#!/usr/bin/env bash
# Fuzzes the settings reader for longer than the test suite does: tools/fuzz.sh [seconds].
# One worker; new inputs collect in the build tree's corpus, findings in its artifacts.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$MODALSCOPE_ROOT"

seconds=${1:-600}
case $seconds in
'' | *[!0-9]*)
    echo "usage: tools/fuzz.sh [seconds]" >&2
    exit 2
    ;;
esac

ensure_packages cmake ninja-build "${MODALSCOPE_FUZZ_PACKAGES[@]}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

dir=build/fuzz/tests/fuzz
mkdir -p "$dir/corpus" "$dir/artifacts"
exec "$dir/settings_fuzzer" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$dir/artifacts/" "$dir/corpus" tests/fuzz/seeds
