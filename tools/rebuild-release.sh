#!/usr/bin/env bash
# Builds the release of a commit (a tag such as v1.0; HEAD by default) from a clean clone
# and prints its checksums; given the folder a release was downloaded to, checks each
# downloaded package there against the rebuilt one. Run it on the Debian release the
# published packages were built on: the compilers are part of what makes the bytes.
# usage: tools/rebuild-release.sh [COMMIT [DOWNLOADS]]
set -euo pipefail
source "$(dirname "$0")/common.sh"
commit=${1:-HEAD} downloads=${2:-}
ensure_packages "${MODALSCOPE_RUN_PACKAGES[@]}" python3 nsis git
folder=$(mktemp -d "${TMPDIR:-/tmp}/modalscope-rebuild-XXXXXX")
trap 'rm -rf "$folder"' EXIT
build_release "$folder/source" "$commit"
cat "$folder"/source/build/app/*.sha256
if [ -n "$downloads" ]; then
    (cd "$downloads" && sha256sum -c --ignore-missing "$folder"/source/build/app/*.sha256)
fi
