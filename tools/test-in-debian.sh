#!/usr/bin/env bash
# Runs the test command as a new user of a Debian release would: in a brand-new minimal root
# of that release, from a clean clone of this repository's current commit (uncommitted changes
# are not in it). usage: tools/test-in-debian.sh SUITE [PART...], e.g. trixie (Debian 13,
# Wine 10) or bookworm (Debian 12, Wine 8); the parts, if any, are tools/test.sh's.
#
# The root is made afresh each time and removed afterwards. Downloaded packages are kept in
# /var/cache/modalscope/debian-SUITE (or $MODALSCOPE_DEBIAN_CACHE/debian-SUITE), outside the
# clone, so a second run downloads nothing. The root runs in mount and process namespaces of
# its own: everything mounted or started inside ends with it, even when a step fails.
set -euo pipefail
source "$(dirname "$0")/common.sh"

suite=${1:-}
shift || true
case $suite in
'' | *[!a-z]*)
    echo "usage: tools/test-in-debian.sh SUITE [PART...]   (SUITE: a Debian release, e.g. trixie)" >&2
    exit 2
    ;;
esac
if [ "$(id -u)" -ne 0 ]; then
    exec sudo "$0" "$suite" "$@" # making a root and mounting in it take root
fi
mirror=${MODALSCOPE_DEBIAN_MIRROR:-http://deb.debian.org/debian}
cache=${MODALSCOPE_DEBIAN_CACHE:-/var/cache/modalscope}/debian-$suite
ensure_packages debootstrap git

# On the disk the cache is on, so nothing lands in a tmpfs /tmp; removed on any exit.
work=$(mktemp -d "${TMPDIR:-/var/tmp}/modalscope-$suite-XXXXXX")
root=$work/root
inside=
finish() {
    local status=$?
    # unshare sits out SIGTERM; killed, it takes the namespaces' first process with it
    # (--kill-child), and so every process in them, and with them their mounts.
    if [ -n "$inside" ]; then
        kill -KILL "$inside" 2>/dev/null || true
        wait "$inside" 2>/dev/null || true
    fi
    local mounted
    mounted=$(awk -v root="$root" 'index($2, root) == 1 { print $2 }' /proc/self/mounts | sort -r)
    [ -z "$mounted" ] || umount -l $mounted 2>/dev/null || true
    rm -rf --one-file-system "$work"
    exit "$status"
}
trap finish EXIT
trap 'exit 130' INT TERM

mkdir -p "$cache/archives/partial"
started=$(date +%s)
echo "== a new Debian $suite root (packages cached in $cache)"
quietly debootstrap --variant=minbase --cache-dir="$cache/archives" "$suite" "$root" "$mirror"

# A throw-away root: no fsync in dpkg, no documentation, no services started.
cat >"$root/etc/dpkg/dpkg.cfg.d/modalscope" <<'EOF'
force-unsafe-io
path-exclude=/usr/share/doc/*
path-exclude=/usr/share/man/*
path-exclude=/usr/share/info/*
EOF
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod +x "$root/usr/sbin/policy-rc.d"
cp /etc/resolv.conf "$root/etc/resolv.conf"
mkdir -p "$root/root/modalscope"
git clone -q --no-hardlinks "$MODALSCOPE_ROOT" "$root/root/modalscope"
git -C "$root/root/modalscope" checkout -q --detach "$(git -C "$MODALSCOPE_ROOT" rev-parse HEAD)"
echo "   made in $(($(date +%s) - started)) s; clone of $(git -C "$MODALSCOPE_ROOT" rev-parse --short HEAD)"

# Inside: PID 1 of its own process namespace, so whatever the tests leave running ends with it,
# and a private mount namespace. The package cache is the root's apt archive.
script='
set -e
root=$1 cache=$2
shift 2
mount -t proc proc "$root/proc"
mount -t sysfs sysfs "$root/sys"
mount --rbind /dev "$root/dev"
mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
mount -t tmpfs -o mode=1777 tmpfs "$root/tmp"
mount --bind "$cache/archives" "$root/var/cache/apt/archives"
status=0
chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    bash -c "cd /root/modalscope && exec tools/test.sh \"\$@\"" test "$@" </dev/null ||
    status=$?
umount -R "$root/var/cache/apt/archives" "$root/tmp" "$root/dev/shm" "$root/sys" "$root/proc"
umount -R -l "$root/dev"
exit $status
'
echo "== the test command in Debian $suite ($(cat "$root/etc/debian_version"))"
status=0
unshare --kill-child --mount --pid --fork --propagation private \
    bash -c "$script" inside "$root" "$cache" "$@" &
inside=$!
wait "$inside" || status=$?
inside=
echo "== Debian $suite: $([ "$status" -eq 0 ] && echo passed || echo "FAILED ($status)")" \
    "in $(($(date +%s) - started)) s"
exit "$status"
