#!/usr/bin/env bash
# Fuzzes the settings reader, or the picture decoder, for longer than the test suite does:
# tools/fuzz.sh [settings|pictures] [seconds]. One worker; new inputs collect in the build
# tree's corpus, findings in its artifacts.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$MODALSCOPE_ROOT"

target=settings
case ${1:-} in
settings | pictures)
    target=$1
    shift
    ;;
esac
seconds=${1:-600}
case $seconds in
'' | *[!0-9]*)
    echo "usage: tools/fuzz.sh [settings|pictures] [seconds]" >&2
    exit 2
    ;;
esac

ensure_packages cmake ninja-build "${MODALSCOPE_FUZZ_PACKAGES[@]}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

dir=build/fuzz/tests/fuzz
if [[ $target == settings ]]; then
    fuzzer=settings_fuzzer corpus=$dir/corpus artifacts=$dir/artifacts
    seeds=(tests/fuzz/seeds)
else
    fuzzer=picture_fuzzer corpus=$dir/picture-corpus artifacts=$dir/picture-artifacts
    seeds=(tests/fuzz/picture-seeds resources/markers)
fi
mkdir -p "$corpus" "$artifacts"
exec "$dir/$fuzzer" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$corpus" "${seeds[@]}"
