#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package as a user of a minimal Debian 12 meets it: `apt-get install ./titrova_*.deb`
# into a system with nothing but apt (made with mmdebstrap, cached), then, started as an
# ordinary user on the host's virtual X server, the missing-settings message and the main
# window; OK in Default Settings writing ~/.config/titrova/settings.cfg; a second start
# showing the main window at once; Help > Titrova Manual handing the installed manual to the
# desktop. The desktop entry and metainfo validate, and `apt-get purge` leaves no file behind.
# A package of another architecture (arm64) goes into a minimal Debian 12 of that architecture
# and runs through qemu-user. With TITROVA_SCREENSHOT=<file.png> the main window of the second
# start is saved there (xwd and netpbm needed).
# Usage: check-deb.sh <titrova_*.deb>   (as root: mounts and chroot)
set -uo pipefail

deb=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
cache=${TITROVA_CACHE:-$HOME/.cache/titrova}
id=org.example.Titrova

# shellcheck source=packaging/lib.sh
. "$here/lib.sh"
need_root
arch=$(dpkg-deb -f "$deb" Architecture)
[ "$arch" != all ] || arch=$(dpkg --print-architecture)
# Every wait is that many times longer for a program that is emulated.
slow=1
[ "$arch" = "$(dpkg --print-architecture)" ] || slow=4
base=$(bash "$here/debian-chroot.sh" --arch="$arch" bookworm) || fail "no minimal Debian 12 ($arch)"

work_folder "$cache"
root="$tmp/root"
mkdir -p "$root" "$cache/apt-archives/partial"
tar -xf "$base" -C "$root" || fail "cannot unpack $base"
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null
cp "$deb" "$root/tmp/"

# Usage: inside [env...] command...: as root in the chroot, with /dev and the downloaded
# packages (kept between runs) shown inside.
chroot_env=(LANG=C.UTF-8 PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin)
inside() { "${in_chroot[@]}" "$root" "" "$cache/apt-archives" "${chroot_env[@]}" "$@"; }

inside true || fail "cannot run $arch programs here (qemu-user with binfmt_misc enabled for them?)"
inside DEBIAN_FRONTEND=noninteractive sh -c 'apt-get -qq update &&
    apt-get install -y -qq --no-install-recommends /tmp/'"$(basename "$deb")" >"$tmp/apt.log" 2>&1 ||
    { cat "$tmp/apt.log"; fail "apt-get install could not install the package"; }
inside dpkg -L titrova | sort >"$tmp/files" || fail "dpkg knows no titrova"
ok "apt-get install ./$(basename "$deb") pulled in $(grep -c '^Setting up' "$tmp/apt.log") packages"

desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "the desktop entry is not valid"
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/$id.metainfo.xml" >/dev/null ||
    fail "the metainfo is not valid"
ok "the installed desktop entry and metainfo validate"

# An ordinary user, and a stand-in for the desktop's opener that notes what it is given.
inside useradd -m -u 4242 winemaker || fail "cannot add a user"
install -d -m 700 -o 4242 -g 4242 "$root/tmp/runtime-winemaker"
# shellcheck disable=SC2016 # the stand-in's own $1
printf '#!/bin/sh\nprintf %%s "$1" >/tmp/opened\n' >"$root/usr/local/bin/xdg-open"
chmod 755 "$root/usr/local/bin/xdg-open"
home="$root/home/winemaker"
settings="$home/.config/titrova/settings.cfg"

start_x
log="$tmp/program.log"

# unshare, chroot, env and setpriv exec in turn: the program keeps the process id started here.
start() {
    "${in_chroot[@]}" "$root" "" "$cache/apt-archives" "${chroot_env[@]}" DISPLAY="$DISPLAY" \
        setpriv --reuid=winemaker --regid=winemaker --init-groups \
        /usr/bin/env HOME=/home/winemaker XDG_RUNTIME_DIR=/tmp/runtime-winemaker titrova \
        >"$log" 2>&1 &
    pid=$!
}

first_start start
past_message
ok "first start as an ordinary user: the missing-settings message, then the main window"
save_defaults
[ "$(stat -c %u "$settings")" = 4242 ] || fail "settings.cfg does not belong to the user"
ok "OK in Default Settings wrote ~/.config/titrova/settings.cfg: eight CRLF records"
quit "$main"

second_start start
if [ -n "${TITROVA_SCREENSHOT:-}" ]; then
    xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >"$TITROVA_SCREENSHOT" ||
        fail "no screenshot in $TITROVA_SCREENSHOT"
fi
manual "$first"
for _ in $(seq $((30 * slow))); do
    [ -s "$root/tmp/opened" ] && break
    sleep 0.1
done
[ "$(cat "$root/tmp/opened" 2>/dev/null)" = file:///usr/share/titrova/manual/index.html ] ||
    fail "Help > Titrova Manual did not hand the installed manual over: $(cat "$root/tmp/opened" 2>/dev/null)"
ok "second start: the main window at once; Help > Titrova Manual opens /usr/share/titrova/manual/index.html"
quit "$first"

inside DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq titrova >"$tmp/apt.log" 2>&1 ||
    { cat "$tmp/apt.log"; fail "apt-get purge failed"; }
left=$(while read -r f; do [ "$f" = /. ] || [ -d "$root$f" ] || [ ! -e "$root$f" ] || echo "$f"; done <"$tmp/files")
[ -e "$root/usr/share/titrova" ] && left+=" /usr/share/titrova"
[ -z "$left" ] || fail "apt-get purge left files of the package: $left"
ok "apt-get purge titrova leaves none of its $(wc -l <"$tmp/files") paths' files behind"
echo "PASS: the Debian package installs, runs as an ordinary user and purges in a minimal Debian 12 ($arch)"
