#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command inside a throw-away copy of a chroot tarball (debian-chroot.sh's), in its own
# mount namespace with /proc, /dev and the host folder <work> shown as /work; the copy is
# deleted afterwards. Usage: in-chroot.sh <tarball> <work folder> <command...>   (as root)
set -euo pipefail

tarball=$1 work=$(realpath "$2")
shift 2
# shellcheck source=packaging/lib.sh
. "$(dirname "$0")/lib.sh"
work_folder "$(dirname "$tarball")"
tar -xf "$tarball" -C "$tmp"
mkdir -p "$tmp/work"
# shellcheck disable=SC2016 # expanded by the shell inside
unshare --mount --propagation private sh -c '
    root=$1 work=$2; shift 2
    mount -t proc proc "$root/proc" && mount --rbind /dev "$root/dev" &&
        mount -t tmpfs tmpfs "$root/tmp" && mount --bind "$work" "$root/work" || exit 99
    exec chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 \
        PATH=/usr/sbin:/usr/bin:/sbin:/bin "$@"' sh "$tmp" "$work" "$@"
