#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Debian's libexpat takes arc4random_buf from glibc 2.36, the one symbol that would keep the
# portable folder off glibc 2.35 systems (Ubuntu 22.04 LTS). This builds the same Debian
# source without it (expat then draws its hash salt from getrandom, glibc 2.25) and prints the
# library's path. Kept under ~/.cache/titrova/, made again when a newer source can be fetched.
# Usage: expat.sh
set -euo pipefail

cache=${TITROVA_CACHE:-$HOME/.cache/titrova}
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/apt-sources.sh" --ensure-src
versions=$(apt-cache showsrc expat 2>/dev/null | sed -n 's/^Version: //p' | sort -Vru) || true
[ -n "$versions" ] || { echo "no source of expat known to apt" >&2; exit 1; }
# The newest already built; else the newest that can be fetched.
for version in $versions; do
    if [ -s "$cache/expat-$version/libexpat.so.1" ]; then
        echo "$cache/expat-$version/libexpat.so.1"
        exit 0
    fi
done
partial="$cache/expat.partial"
rm -rf "$partial"
mkdir -p "$partial"
version=$(bash "$root/scripts/apt-sources.sh" --fetch "$partial" expat)
out="$cache/expat-$version"
library="$out/libexpat.so.1"
(
    cd "$partial"
    dpkg-source -x ./*.dsc source >/dev/null 2>&1
    cmake -S source/expat -B build -DCMAKE_BUILD_TYPE=Release -DEXPAT_BUILD_TOOLS=OFF \
        -DEXPAT_BUILD_EXAMPLES=OFF -DEXPAT_BUILD_TESTS=OFF -DEXPAT_BUILD_DOCS=OFF \
        -DHAVE_ARC4RANDOM_BUF=0 -DHAVE_ARC4RANDOM=0 >/dev/null
    # Debian's patches test "XML_DTD == 1", as its autotools build defines it.
    sed -i 's/^#define XML_DTD$/#define XML_DTD 1/' build/expat_config.h
    cmake --build build -j"$(nproc)" >/dev/null
    cp -L build/libexpat.so.1 libexpat.so.1
)
! objdump -T "$partial/libexpat.so.1" | grep -q 'GLIBC_2\.3[6-9]' ||
    { echo "libexpat still needs glibc 2.36" >&2; exit 1; }
mkdir -p "$out"
mv "$partial/libexpat.so.1" "$library"
rm -rf "$partial"
echo "$library"
