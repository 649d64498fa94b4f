#!/bin/sh
# Runs a Windows test executable under Wine. The prefix lives in the build folder unless
# WINEPREFIX is already set; tools/test.sh warms the wineserver before CTest starts.
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/build/windows/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec wine "$@"
