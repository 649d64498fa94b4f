#!/usr/bin/env bash
# Runs a command in a Wine session of its own with other display settings than the test
# run's: a private Xvfb and virtual desktop of the given size, and a prefix whose registry
# got the given .reg file before the wineserver that its programs see was started.
#
# usage: display_session.sh PREFIX SIZE REGFILE PROBE COMMAND...
# The prefix is kept between runs; a prefix made with other settings is made afresh.
set -eEuo pipefail
source "$(dirname "$0")/../../tools/common.sh"

prefix=$1 size=$2 regfile=$3 probe=$4
shift 4

# Settings only take effect in programs started by a fresh wineserver, and a prefix whose
# settings changed may keep stale derived values: such a prefix starts over.
stamp="$prefix/modalscope-display"
want="$(basename "$regfile") $size $(cksum <"$regfile")"
if [ -d "$prefix" ] && [ "$(cat "$stamp" 2>/dev/null)" != "$want" ]; then
    rm -rf "$prefix"
fi
fresh=
[ -d "$prefix" ] || fresh=1

trap stop_session EXIT
# The set-up's commands are quiet; a failing one must still say which it was.
trap 'echo "display_session.sh: \"$BASH_COMMAND\" failed with $?" >&2' ERR
start_xvfb "$size"
start_wine "$prefix"
if [ -n "$fresh" ]; then
    # A new prefix has no virtual desktop yet, so setting it below restarts the wineserver,
    # which puts these values in force for every program from then on.
    wine reg import "$(winepath -w "$regfile")" >/dev/null 2>&1 </dev/null
fi
use_virtual_desktop "$size"
[ -n "$fresh" ] && echo "$want" >"$stamp"
hold_desktop "$probe"
"$@"
