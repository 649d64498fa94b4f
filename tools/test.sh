#!/usr/bin/env bash
# Builds everything and runs every test: the model and settings natively under ASan and
# UBSan, the settings reader and the picture decoder fuzzed, and the Windows build under Wine
# on a private Xvfb.
# Named parts run alone: tools/test.sh [native] [fuzz] [windows].
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$MODALSCOPE_ROOT"

# The Wine session and the Windows tests, which the windows part runs in process ids of its
# own (in_own_pids), with the address space not randomised (fixed_layout).
if [ "${1:-}" = --wine-session ]; then
    fixed_layout "$@"
    start_session "$MODALSCOPE_TEST_PREFIX" 1024x768
    echo "   on the private display $DISPLAY"
    layout_fixed || echo "   with the address space randomised: this system refuses otherwise"
    ctest --preset windows
    # Far below the ids there are, so none came round again.
    echo "   $(cat /proc/sys/kernel/ns_last_pid) process ids used, of $(cat /proc/sys/kernel/pid_max)"
    exit
fi

parts=" ${*:-native fuzz windows} "
for part in $parts; do
    case $part in
    native | fuzz | windows) ;;
    *)
        echo "usage: tools/test.sh [native] [fuzz] [windows]" >&2
        exit 2
        ;;
    esac
done
wants() { [[ $parts == *" $1 "* ]]; }
stage() { echo "== $1 (at $SECONDS s)"; }

packages=("${MODALSCOPE_TEST_PACKAGES[@]}")
wants fuzz && packages+=("${MODALSCOPE_FUZZ_PACKAGES[@]}")
ensure_packages "${packages[@]}"
trap stop_session EXIT

if wants native; then
    stage "native build and tests (ASan, UBSan)"
    cmake --preset host >/dev/null
    cmake --build --preset host
    ctest --preset host
fi

if wants fuzz; then
    stage "settings reader and picture decoder fuzzing (libFuzzer, ASan, UBSan)"
    # Fresh: a cache left by another compiler would otherwise come back as a plain test build.
    cmake --preset fuzz --fresh >/dev/null
    cmake --build --preset fuzz
    ctest --preset fuzz
fi

if wants windows; then
    stage "Windows build and tests under Wine"
    cmake --preset windows >/dev/null
    cmake --build --preset windows
    in_own_pids bash "$MODALSCOPE_ROOT/tools/test.sh" --wine-session
fi
stage "passed"
