#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The package on a machine without Qt: a minimal Debian 12 (essential packages and apt: no
# X, Wayland or Qt libraries, no fonts) made with mmdebstrap, the archive unpacked inside it
# and the program started there on the host's virtual X server: the missing-settings
# message, then the main window, Default Settings > OK writing settings.cfg, File > Exit
# with status 0, and every library it loaded from its own folder or the system's C and C++
# runtime. Then once more on a headless Wayland compositor, up to its first window.
# Usage: check-portable.sh <titrova-*.tar.gz> [work folder]   (as root: mounts and chroot)
set -uo pipefail

archive=$(realpath "$1")
cache=$(realpath -m "${2:-$(dirname "$0")/../build/portable}")

fail() {
    echo "FAIL: $*"
    [ -s "${log:-}" ] && sed 's/^/  program: /' "$log"
    exit 1
}
ok() { echo "ok: $*"; }

[ "$(id -u)" -eq 0 ] || fail "needs root (mount namespace and chroot)"

# ---- The minimal system, kept as a tarball under ~/.cache/titrova/ and renewed weekly
base=$(bash "$(dirname "$0")/debian-chroot.sh" bookworm) || fail "no minimal Debian 12"
mkdir -p "$cache"

tmp=$(mktemp -d "$cache/run.XXXXXX")
root="$tmp/root"
cleanup() {
    local pids
    read -ra pids <<<"$(jobs -p | tr '\n' ' ')"
    if [ ${#pids[@]} -gt 0 ]; then
        { kill -9 "${pids[@]}"; wait; } 2>/dev/null
    fi
    # The mounts live in the program's own namespace; never delete through one left behind.
    if findmnt -rno TARGET | grep -qF "$root"; then
        echo "left in place, still mounted: $tmp"
    else
        rm -rf "$tmp"
    fi
}
trap cleanup EXIT

mkdir -p "$root"
tar -xf "$base" -C "$root" || fail "cannot unpack $base"
if [ -n "$(find "$root/usr" -name 'libQt6*' -print -quit)" ] ||
    [ -n "$(find "$root/usr" -name 'libxcb.so*' -print -quit)" ]; then
    fail "the minimal system already has Qt or X libraries"
fi
folder="$root/opt/my programs"
mkdir -p "$folder"
tar -xzf "$archive" -C "$folder" || fail "cannot unpack $archive"
name=$(ls "$folder")
app="/opt/my programs/$name"

# The system's own loader, inside, resolves every bundled library without a 'not found'.
missing=$(chroot "$root" ldd "$app/titrova" | grep 'not found')
[ -z "$missing" ] || fail "libraries the minimal system lacks: $missing"
ok "ldd in the chroot finds every library the program needs"

# ---- The host's virtual X server, its socket shown inside
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$tmp/display" 2>"$tmp/xvfb.log" &
for _ in $(seq 200); do
    [ -s "$tmp/display" ] && break
    sleep 0.05
done
[ -s "$tmp/display" ] || fail "Xvfb did not start: $(cat "$tmp/xvfb.log")"
DISPLAY=":$(head -n 1 "$tmp/display")"
export DISPLAY
log="$tmp/program.log"

# unshare and chroot exec in turn, so the program keeps the process id started here.
# shellcheck disable=SC2016 # expanded by the shell inside
inside='root=$1 runtime=$2; shift 2
    mkdir -p "$root/tmp/.X11-unix" "$root/tmp/runtime" && chmod 700 "$root/tmp/runtime" &&
        mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix" && mount -t proc proc "$root/proc" &&
        { [ -z "$runtime" ] || mount --bind "$runtime" "$root/tmp/runtime"; } || exit 99
    exec chroot "$root" /usr/bin/env -i "$@"'
# Usage: start_inside <runtime folder to show inside, or ""> <environment...>
start_inside() {
    unshare --mount --propagation private sh -c "$inside" sh "$root" "$@" HOME=/root \
        XDG_RUNTIME_DIR=/tmp/runtime LANG=C.UTF-8 PATH=/usr/bin:/bin "$app/titrova" >"$log" 2>&1 &
    pid=$!
}

visible() { xdotool search --all --onlyvisible --pid "$1" 2>/dev/null; }
first_window() {
    local w
    for _ in $(seq 200); do
        w=$(visible "$1" | head -n 1)
        [ -n "$w" ] && { echo "$w"; return 0; }
        kill -0 "$1" 2>/dev/null || return 1
        sleep 0.05
    done
    return 1
}
window_named() { timeout 10 xdotool search --all --sync --onlyvisible --pid "$1" --name "^$2\$" 2>/dev/null | head -n 1; }
is_main() {
    local type
    type=$(xprop -id "$1" -notype _NET_WM_WINDOW_TYPE 2>/dev/null)
    [[ $type == *_NET_WM_WINDOW_TYPE_NORMAL* && $type != *_NET_WM_WINDOW_TYPE_DIALOG* ]]
}
keys() {
    xdotool windowfocus "$1" 2>/dev/null
    sleep 0.2
    xdotool key "${@:2}"
}

start_inside "" DISPLAY="$DISPLAY"
box=$(first_window $pid) || fail "the program shows no window in the minimal system"
is_main "$box" && fail "the first start shows the main window without the missing-settings message"
[ "$(xdotool getwindowname "$box")" = Titrova ] || fail "the first window is not captioned Titrova"
ok "the missing-settings message is shown"

# What the running program has loaded: its own folder, or the C and C++ runtime.
runtime='/lib(c|m|dl|pthread|rt|stdc\+\+|gcc_s)\.so|/ld-linux-x86-64\.so'
libraries() { sed -nE 's#^([^ ]+ +){5}(/.*\.so[.0-9]*)$#\2#p' "/proc/$1/maps" | sort -u; }
mapped=$(libraries $pid)
foreign=$(grep -vF "$root$app/" <<<"$mapped" | grep -vE "$runtime")
[ -z "$foreign" ] || fail "libraries loaded from outside the folder: $foreign"
loaded=$(grep -cF "$root$app/" <<<"$mapped")
ok "$loaded libraries and plugins loaded from the folder, the rest is the C and C++ runtime"

keys "$box" Return
main=$(window_named $pid Titrova)
if [ -z "$main" ] || ! is_main "$main"; then
    fail "no main window after the missing-settings message"
fi
ok "the main window is mapped"
[ -s "$log" ] && sed 's/^/  program: /' "$log"
[ -n "${TITROVA_PORTABLE_SHOT:-}" ] && import -window root "$TITROVA_PORTABLE_SHOT"

settings="$root$app/settings.cfg"
dialog=""
for _ in 1 2 3; do
    keys "$main" alt+o
    dialog=$(timeout 3 xdotool search --all --sync --onlyvisible --pid $pid --name '^Default Settings$' 2>/dev/null | head -n 1)
    [ -n "$dialog" ] && break
done
[ -n "$dialog" ] || fail "Alt+O does not open the Default Settings dialog"
keys "$dialog" alt+o
for _ in $(seq 50); do
    [ -s "$settings" ] && break
    sleep 0.1
done
[ "$(wc -l <"$settings" 2>/dev/null)" = 8 ] || fail "OK in Default Settings did not write settings.cfg"
ok "OK in Default Settings wrote settings.cfg beside the program"

keys "$main" alt+f
sleep 0.3
xdotool key Return
for _ in $(seq 100); do
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
done
kill -0 $pid 2>/dev/null && fail "File > Exit did not end the program"
wait $pid
status=$?
[ $status -eq 0 ] || fail "the program ended with status $status"
ok "File > Exit ends the program with status 0"

# A GNOME-like desktop asks for the GTK theme, which this system cannot load: Qt's own look.
start_inside "" DISPLAY="$DISPLAY" QT_QPA_PLATFORMTHEME=gtk3
main=$(first_window $pid) || fail "without GTK the gtk3 theme keeps the program from starting"
is_main "$main" || fail "without GTK the first window is not the main window"
kill $pid
wait $pid 2>/dev/null
ok "asked for the gtk3 theme without GTK, the program starts normally"

# ---- Wayland: a headless compositor on the host, its socket shown inside. No input can be
# sent there, so this start only has to bring up its window through the bundled plugins.
wayland="$tmp/wayland"
mkdir -m 700 "$wayland"
XDG_RUNTIME_DIR="$wayland" weston --backend=headless-backend.so --socket=wayland-titrova \
    --idle-time=0 >"$tmp/weston.log" 2>&1 &
for _ in $(seq 100); do
    [ -S "$wayland/wayland-titrova" ] && break
    sleep 0.05
done
[ -S "$wayland/wayland-titrova" ] || fail "weston did not start: $(cat "$tmp/weston.log")"
rm -f "$settings"
start_inside "$wayland" WAYLAND_DISPLAY=wayland-titrova QT_QPA_PLATFORM=wayland
# The shell plugin loads when the first window is made.
for _ in $(seq 200); do
    libraries $pid 2>/dev/null | grep -qF "$root$app/plugins/wayland-shell-integration/libxdg-shell.so" && break
    kill -0 $pid 2>/dev/null || fail "the program ended on Wayland"
    sleep 0.05
done
mapped=$(libraries $pid)
grep -qF "$root$app/plugins/wayland-shell-integration/libxdg-shell.so" <<<"$mapped" ||
    fail "no window on Wayland"
grep -qF "$root$app/plugins/platforms/libqwayland-generic.so" <<<"$mapped" ||
    fail "the Wayland platform plugin is not the folder's"
foreign=$(grep -vF "$root$app/" <<<"$mapped" | grep -vE "$runtime")
[ -z "$foreign" ] || fail "libraries loaded from outside the folder on Wayland: $foreign"
kill $pid
wait $pid 2>/dev/null
ok "on Wayland the program makes its window through the folder's plugins and libraries"
echo "PASS: the package runs in a minimal Debian 12 without Qt, X or Wayland libraries, or fonts"
