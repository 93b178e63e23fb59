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

# shellcheck source=packaging/lib.sh
. "$(dirname "$0")/lib.sh"
need_root

# ---- The minimal system, kept as a tarball under ~/.cache/titrova/ and renewed weekly
base=$(bash "$(dirname "$0")/debian-chroot.sh" bookworm) || fail "no minimal Debian 12"
mkdir -p "$cache"

work_folder "$cache"
root="$tmp/root"
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
start_x
log="$tmp/program.log"
settings="$root$app/settings.cfg"
# Usage: start_inside <runtime folder to show inside, or ""> <environment...>
start_inside() {
    "${in_chroot[@]}" "$root" "$1" "" "${@:2}" HOME=/root XDG_RUNTIME_DIR=/tmp/runtime LANG=C.UTF-8 \
        PATH=/usr/bin:/bin "$app/titrova" >"$log" 2>&1 &
    pid=$!
}

first_start start_inside "" DISPLAY="$DISPLAY"
ok "the missing-settings message is shown"

# What the running program has loaded: its own folder, or the C and C++ runtime.
runtime='/lib(c|m|dl|pthread|rt|stdc\+\+|gcc_s)\.so|/ld-linux-x86-64\.so'
mapped=$(libraries "$pid")
foreign=$(grep -vF "$root$app/" <<<"$mapped" | grep -vE "$runtime")
[ -z "$foreign" ] || fail "libraries loaded from outside the folder: $foreign"
loaded=$(grep -cF "$root$app/" <<<"$mapped")
ok "$loaded libraries and plugins loaded from the folder, the rest is the C and C++ runtime"

past_message
ok "the main window is mapped"
[ -s "$log" ] && sed 's/^/  program: /' "$log"
[ -n "${TITROVA_PORTABLE_SHOT:-}" ] && import -window root "$TITROVA_PORTABLE_SHOT"
save_defaults
ok "OK in Default Settings wrote settings.cfg beside the program"
quit "$main"
ok "File > Exit ends the program with status 0"

# A GNOME-like desktop asks for the GTK theme, which this system cannot load: Qt's own look.
start_inside "" DISPLAY="$DISPLAY" QT_QPA_PLATFORMTHEME=gtk3
main=$(first_window) || fail "without GTK the gtk3 theme keeps the program from starting"
is_main "$main" || fail "without GTK the first window is not the main window"
kill "$pid"
wait "$pid" 2>/dev/null
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
    libraries "$pid" 2>/dev/null | grep -qF "$root$app/plugins/wayland-shell-integration/libxdg-shell.so" && break
    kill -0 "$pid" 2>/dev/null || fail "the program ended on Wayland"
    sleep 0.05
done
mapped=$(libraries "$pid")
grep -qF "$root$app/plugins/wayland-shell-integration/libxdg-shell.so" <<<"$mapped" ||
    fail "no window on Wayland"
grep -qF "$root$app/plugins/platforms/libqwayland-generic.so" <<<"$mapped" ||
    fail "the Wayland platform plugin is not the folder's"
foreign=$(grep -vF "$root$app/" <<<"$mapped" | grep -vE "$runtime")
[ -z "$foreign" ] || fail "libraries loaded from outside the folder on Wayland: $foreign"
kill "$pid"
wait "$pid" 2>/dev/null
ok "on Wayland the program makes its window through the folder's plugins and libraries"
echo "PASS: the package runs in a minimal Debian 12 without Qt, X or Wayland libraries, or fonts"
