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

fail() {
    echo "FAIL: $*"
    [ -s "${log:-}" ] && sed 's/^/  program: /' "$log"
    exit 1
}
ok() { echo "ok: $*"; }

[ "$(id -u)" -eq 0 ] || fail "needs root (mount namespace and chroot)"
arch=$(dpkg-deb -f "$deb" Architecture)
[ "$arch" != all ] || arch=$(dpkg --print-architecture)
# Every wait is that many times longer for a program that is emulated.
slow=1
[ "$arch" = "$(dpkg --print-architecture)" ] || slow=4
base=$(bash "$here/debian-chroot.sh" --arch="$arch" bookworm) || fail "no minimal Debian 12 ($arch)"

tmp=$(mktemp -d "$cache/deb.XXXXXX")
root="$tmp/root"
cleanup() {
    local pids
    read -ra pids <<<"$(jobs -p | tr '\n' ' ')"
    if [ ${#pids[@]} -gt 0 ]; then
        { kill -9 "${pids[@]}"; wait; } 2>/dev/null
    fi
    if findmnt -rno TARGET | grep -qF "$tmp"; then
        echo "left in place, still mounted: $tmp"
    else
        rm -rf "$tmp"
    fi
}
trap cleanup EXIT
mkdir -p "$root" "$cache/apt-archives/partial"
tar -xf "$base" -C "$root" || fail "cannot unpack $base"
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null
cp "$deb" "$root/tmp/"

# Usage: inside [env...] command...: as root in the chroot, with /proc, /dev, the X socket
# and the downloaded packages (kept between runs) shown inside.
# shellcheck disable=SC2016 # expanded by the shell inside
mounts='root=$1 archives=$2; shift 2
    mkdir -p "$root/tmp/.X11-unix" && mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix" &&
        mount -t proc proc "$root/proc" && mount --rbind /dev "$root/dev" &&
        mount --bind "$archives" "$root/var/cache/apt/archives" || exit 99
    exec chroot "$root" /usr/bin/env -i LANG=C.UTF-8 PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin "$@"'
inside() {
    unshare --mount --propagation private sh -c "$mounts" sh "$root" "$cache/apt-archives" "$@"
}

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

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$tmp/display" 2>"$tmp/xvfb.log" &
for _ in $(seq 200); do
    [ -s "$tmp/display" ] && break
    sleep 0.05
done
[ -s "$tmp/display" ] || fail "Xvfb did not start: $(cat "$tmp/xvfb.log")"
DISPLAY=":$(head -n 1 "$tmp/display")"
export DISPLAY
log="$tmp/program.log"

# unshare, chroot, env and setpriv exec in turn: the program keeps the process id started here.
start() {
    unshare --mount --propagation private sh -c "$mounts" sh "$root" "$cache/apt-archives" \
        DISPLAY="$DISPLAY" setpriv --reuid=winemaker --regid=winemaker --init-groups \
        /usr/bin/env HOME=/home/winemaker XDG_RUNTIME_DIR=/tmp/runtime-winemaker titrova \
        >"$log" 2>&1 &
    pid=$!
}
pause() { sleep "$(awk -v s="$1" -v f=$slow 'BEGIN { print s * f }')"; }
visible() { xdotool search --all --onlyvisible --pid "$1" 2>/dev/null; }
first_window() {
    local w
    for _ in $(seq $((300 * slow))); do
        w=$(visible "$1" | head -n 1)
        [ -n "$w" ] && { echo "$w"; return 0; }
        kill -0 "$1" 2>/dev/null || return 1
        sleep 0.05
    done
    return 1
}
is_main() {
    local type
    type=$(xprop -id "$1" -notype _NET_WM_WINDOW_TYPE 2>/dev/null)
    [[ $type == *_NET_WM_WINDOW_TYPE_NORMAL* && $type != *_NET_WM_WINDOW_TYPE_DIALOG* ]]
}
# The message box bears the program's name too, and a slow start still shows it a while after
# its key: only the main window ends the wait.
main_window() {
    local w
    for _ in $(seq $((100 * slow))); do
        for w in $(xdotool search --all --onlyvisible --pid "$1" --name '^Titrova$' 2>/dev/null); do
            is_main "$w" && { echo "$w"; return 0; }
        done
        sleep 0.1
    done
    return 1
}
keys() {
    xdotool windowfocus "$1" 2>/dev/null
    pause 0.2
    xdotool key "${@:2}"
}
quit() {
    keys "$2" alt+f
    pause 0.3
    xdotool key Return
    for _ in $(seq $((100 * slow))); do
        kill -0 "$1" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$1" 2>/dev/null && fail "File > Exit did not end the program"
    wait "$1" || fail "the program ended with status $?"
}

start
box=$(first_window $pid) || fail "the first start shows no window"
is_main "$box" && fail "the first start shows the main window without the missing-settings message"
keys "$box" Return
main=$(main_window $pid) || fail "no main window after the missing-settings message"
ok "first start as an ordinary user: the missing-settings message, then the main window"

dialog=""
for _ in 1 2 3; do
    keys "$main" alt+o
    dialog=$(timeout $((3 * slow)) xdotool search --all --sync --onlyvisible --pid $pid --name '^Default Settings$' 2>/dev/null | head -n 1)
    [ -n "$dialog" ] && break
done
[ -n "$dialog" ] || fail "Alt+O does not open the Default Settings dialog"
keys "$dialog" alt+o
for _ in $(seq $((50 * slow))); do
    [ -s "$settings" ] && break
    sleep 0.1
done
[ -f "$settings" ] || fail "OK in Default Settings wrote no ~/.config/titrova/settings.cfg"
{ [ "$(grep -c $'\r$' "$settings")" = 8 ] && [ "$(wc -l <"$settings")" = 8 ]; } ||
    fail "settings.cfg is not eight CRLF records: $(od -c "$settings" | head)"
[ "$(stat -c %u "$settings")" = 4242 ] || fail "settings.cfg does not belong to the user"
ok "OK in Default Settings wrote ~/.config/titrova/settings.cfg: eight CRLF records"
quit $pid "$main"

start
first=$(first_window $pid) || fail "the second start shows no window"
is_main "$first" || fail "the second start shows a message before the main window"
if [ -n "${TITROVA_SCREENSHOT:-}" ]; then
    pause 0.5
    xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >"$TITROVA_SCREENSHOT" ||
        fail "no screenshot in $TITROVA_SCREENSHOT"
fi
keys "$first" alt+h
pause 0.3
xdotool key Return
for _ in $(seq $((30 * slow))); do
    [ -s "$root/tmp/opened" ] && break
    sleep 0.1
done
[ "$(cat "$root/tmp/opened" 2>/dev/null)" = file:///usr/share/titrova/manual/index.html ] ||
    fail "Help > Titrova Manual did not hand the installed manual over: $(cat "$root/tmp/opened" 2>/dev/null)"
ok "second start: the main window at once; Help > Titrova Manual opens /usr/share/titrova/manual/index.html"
quit $pid "$first"

inside DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq titrova >"$tmp/apt.log" 2>&1 ||
    { cat "$tmp/apt.log"; fail "apt-get purge failed"; }
left=$(while read -r f; do [ "$f" = /. ] || [ -d "$root$f" ] || [ ! -e "$root$f" ] || echo "$f"; done <"$tmp/files")
[ -e "$root/usr/share/titrova" ] && left+=" /usr/share/titrova"
[ -z "$left" ] || fail "apt-get purge left files of the package: $left"
ok "apt-get purge titrova leaves none of its $(wc -l <"$tmp/files") paths' files behind"
echo "PASS: the Debian package installs, runs as an ordinary user and purges in a minimal Debian 12 ($arch)"
