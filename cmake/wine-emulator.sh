#!/usr/bin/env bash
# Runs a Windows test executable under Wine, in the Wine environment of tools/common.sh.
# The prefix is the one tools/test.sh set up (it warms the wineserver before CTest starts),
# or the test prefix in the build folder when CTest runs on its own.
source "$(dirname "$0")/../tools/common.sh"
fixed_layout "$@"
use_wine_prefix "${WINEPREFIX:-$MODALSCOPE_TEST_PREFIX}"
# Wine's own error messages stay on, which CTest shows only for a test that fails: a test
# that ends at once, before printing anything, then says why.
export WINEDEBUG=-all,err+all
exec wine "$@"
