#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A Debian chroot with what building and testing Titrova needs, made with mmdebstrap and
# kept as a tarball under ~/.cache/titrova/. It is made again when missing, when the package
# list or this script changed, or when older than a week (so its packages stay current).
# Prints the tarball's path. Usage: debian-chroot.sh [--arch=ARCH] [--name NAME] <suite>
# <package...>   (as root; another architecture than the host's runs through qemu-user,
# binfmt_misc enabled for it; NAME tells apart two package lists of one suite)
set -euo pipefail

native=$(dpkg --print-architecture)
arch=$native
name=""
while :; do
    case ${1:-} in
    --arch=*) arch=${1#--arch=} && shift ;;
    --name) name=$2 && shift 2 ;;
    *) break ;;
    esac
done
suite=$1
shift
# The archive this system installs from, unless one is given.
mirror=${TITROVA_DEBIAN_MIRROR:-$(bash "$(dirname "$0")/../scripts/apt-sources.sh" --mirror)}
cache=${TITROVA_CACHE:-$HOME/.cache/titrova}
# One tarball a suite and package list: the bare one a user's system, the other a build's.
# The host's own architecture keeps the names it always had.
suffix=""
[ "$arch" = "$native" ] || suffix="-$arch"
tarball="$cache/chroot-$suite$suffix${1:+-${name:-build}}.tar"
stamp="$tarball.stamp"
want=$(printf '%s\n' "$suite" "$arch" "$mirror" "$@" | cat - "$0" | sha256sum | cut -d' ' -f1)

mkdir -p "$cache"
# One maker a tarball: a second caller (.ci/run makes them ahead, beside the tests) waits.
exec 9>"$tarball.lock"
flock 9
if [ -s "$tarball" ] && [ "$(cat "$stamp" 2>/dev/null)" = "$want" ] &&
    [ -n "$(find "$tarball" -mtime -7)" ]; then
    echo "$tarball"
    exit 0
fi
rm -f "$tarball" "$stamp" "$tarball.partial"
start=$SECONDS
include=()
[ $# -eq 0 ] || include=(--include="$(IFS=,; echo "$*")")
mmdebstrap --quiet --mode=root --variant=apt --format=tar --arch="$arch" "${include[@]}" \
    --aptopt='APT::Install-Recommends "false"' "$suite" "$tarball.partial" "$mirror" >&2 9>&-
mv "$tarball.partial" "$tarball"
echo "$want" >"$stamp"
echo "made $tarball in $((SECONDS - start)) s ($(du -m "$tarball" | cut -f1) MB)" >&2
echo "$tarball"
