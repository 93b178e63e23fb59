#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Debian 13 (Qt 6.8, g++ 14): the Debian package built from a clean copy of the tree in a
# cached chroot (debian-chroot.sh), its build running the whole test suite with every tool
# the tests use installed, and no compiler warning. Usage: check-debian13.sh [output folder]
# (as root: mounts and chroot). check-debian13.sh --chroots only makes the chroot.
set -euo pipefail
cd "$(dirname "$0")/.."

tools=(build-essential cmake qt6-base-dev qt6-base-dev-tools libgl-dev fonts-liberation
    debhelper dpkg-dev fakeroot lintian xvfb xauth xdotool x11-utils weston qt6-wayland
    at-spi2-core dbus-daemon python3-pyatspi python3-gi gir1.2-atspi-2.0 desktop-file-utils appstream)
chroot=$(bash packaging/debian-chroot.sh trixie "${tools[@]}")
[ "${1:-}" != --chroots ] || exit 0
out=$(realpath -m "${1:-build/debian13}")

rm -rf "$out"
mkdir -p "$out/src"
git ls-files -z --cached --others --exclude-standard |
    tar --null -T - -cf - | tar -xf - -C "$out/src"
start=$SECONDS
status=0
bash packaging/in-chroot.sh "$chroot" "$out" sh -c "cd /work/src &&
    DEB_BUILD_OPTIONS=parallel=$(nproc) dpkg-buildpackage -us -uc -b >/work/build.log 2>&1" ||
    status=$?
grep -oE 'CXX compiler identification is .*|libQt6Core\.so\.[0-9.]+' "$out/build.log" | sort -u || true
grep -E 'tests passed|tests failed|\*\*\*Failed|Not Run' "$out/build.log" || true
if [ $status -ne 0 ]; then
    tail -n 60 "$out/build.log"
    echo "FAIL: the package build in Debian 13 (the whole log: $out/build.log)"
    exit 1
fi
if grep -E ' warning: ' "$out/build.log"; then
    echo "FAIL: compiler warnings in Debian 13"
    exit 1
fi
echo "PASS: Debian 13 builds $(cd "$out" && ls titrova_*.deb) and passes the suite in $((SECONDS - start)) s"
