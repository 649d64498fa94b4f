#!/usr/bin/env bash
# Builds the release of the working tree twice, in two folders, by two clocks in two time
# zones (the second through faketime, hours and years away, its files dated by it), and
# fails unless the exe, the ZIP and the installer are the same bytes both times.
# usage: check_reproducible.sh WORK
set -euo pipefail
source "$(dirname "$0")/../tools/common.sh"
work=$1
if [ "$work" = --build ]; then # one build, under the clock it was started with
    build_release "$2" HEAD "$3"
    exit 0
fi
rm -rf "$work"
mkdir -p "$work"
working_tree_tar "$work/source.tar" # both builds take the same files
TZ=UTC bash "$0" --build "$work/first" "$work/source.tar"
TZ=Pacific/Kiritimati faketime '2031-06-15 17:42:13' \
    bash "$0" --build "$work/second/elsewhere" "$work/source.tar"
status=0
for file in app/modalscope.exe Modalscope-1.0-win64.zip Modalscope-1.0-win64.exe; do
    first=$(sha256sum <"$work/first/build/app/$file")
    second=$(sha256sum <"$work/second/elsewhere/build/app/$file")
    echo "${first%% *} $file"
    [ "$first" = "$second" ] || { echo "differs: ${second%% *} $file"; status=1; }
done
exit $status
