#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The package's dark theme on a GNOME-like desktop, in Debian 12 and in the newer Debian 13:
# each a system with GTK 3 and no Qt (made with mmdebstrap, kept in ~/.cache/titrova/), the
# archive unpacked inside and the program started with QT_QPA_PLATFORMTHEME=gtk3 and GTK's
# dark theme on the host's virtual X server. The folder's theme plugin must run on the
# system's GTK and glib, the main window must come up dark, and what the program starts must
# not inherit how it chose its libraries.
# Usage: check-theme.sh <titrova-*.tar.gz> [work folder]   (as root: mounts and chroot)
#        check-theme.sh --chroots   only makes the two systems, so that they wait in the cache
set -uo pipefail

# Usage: system <Debian suite> <GTK 3 package>: the tarball of that system.
system() { bash "$(dirname "$0")/debian-chroot.sh" --name desktop "$1" "$2" xauth; }
bookworm_gtk=libgtk-3-0
trixie_gtk=libgtk-3-0t64
if [ "${1:-}" = --chroots ]; then
    system bookworm $bookworm_gtk >/dev/null && system trixie $trixie_gtk >/dev/null
    exit
fi

archive=$(realpath "$1")
cache=$(realpath -m "${2:-$(dirname "$0")/../build/portable}")

# shellcheck source=packaging/lib.sh
. "$(dirname "$0")/lib.sh"
need_root
mkdir -p "$cache"
work_folder "$cache"
start_x

# Usage: check <Debian suite> <its name for people> <GTK 3 package>
check() {
    local suite=$1 name=$2 gtk=$3 start=$SECONDS base root folder app window maps light
    base=$(system "$suite" "$gtk") || fail "no $name with GTK"
    root="$tmp/$suite"
    log="$tmp/$suite.log"
    mkdir -p "$root"
    tar -xf "$base" -C "$root" || fail "cannot unpack $base"
    [ -z "$(find "$root/usr" -name 'libQt6*' -print -quit)" ] || fail "$name already has Qt"
    folder="$root/opt/my programs"
    mkdir -p "$folder"
    tar -xzf "$archive" -C "$folder" || fail "cannot unpack $archive"
    app="/opt/my programs/$(ls "$folder")"
    # The built-in defaults, so that the main window comes first.
    cp "$defaults" "$root$app/settings.cfg"
    # A stand-in for the desktop's opener that notes the environment it is given.
    printf '#!/bin/sh\nenv >/opened\n' >"$root/usr/bin/xdg-open"
    chmod +x "$root/usr/bin/xdg-open"

    "${in_chroot[@]}" "$root" "" "" HOME=/root LANG=C.UTF-8 PATH=/usr/bin:/bin DISPLAY="$DISPLAY" \
        QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark "$app/titrova" >"$log" 2>&1 &
    pid=$!
    window=$(first_window) || fail "no window in $name"
    sleep 1

    maps=$(libraries "$pid")
    grep -qxF "$root$app/plugins/platformthemes/libqgtk3.so" <<<"$maps" ||
        fail "the folder's gtk3 theme plugin did not load in $name"
    for library in libgtk-3 libglib-2.0; do
        found=$(grep "/$library\.so" <<<"$maps")
        { [ -n "$found" ] && [[ $found != "$root$app"/* ]]; } ||
            fail "$library is not the system's in $name: ${found:-none}"
    done
    ok "$name: the folder's gtk3 theme plugin runs on the system's GTK and glib"

    # Mean lightness, 0 black to 1 white: Adwaita's dark theme is far below half, its light
    # one far above.
    light=$(import -window "$window" -colorspace Gray -format '%[fx:mean]' info:) ||
        fail "cannot capture the window in $name"
    [ -n "${TITROVA_THEME_SHOT:-}" ] && import -window "$window" "$TITROVA_THEME_SHOT-$suite.png"
    awk -v l="$light" 'BEGIN { exit !(l < 0.4) }' ||
        fail "the window is not dark in $name (mean lightness $light)"
    ok "$name: the main window is dark (mean lightness $light)"

    # Help > Titrova Manual starts the opener.
    manual "$window"
    for _ in $(seq 100); do
        [ -s "$root/opened" ] && break
        sleep 0.1
    done
    [ -s "$root/opened" ] || fail "Help > Titrova Manual started nothing in $name"
    inherited=$(grep -E '^(LD_PRELOAD|TITROVA_)' "$root/opened")
    [ -z "$inherited" ] || fail "a program started from Titrova in $name inherits: $inherited"
    ok "$name: a program started from it inherits nothing of that"
    kill "$pid"
    wait "$pid" 2>/dev/null
    echo "$name took $((SECONDS - start)) s"
}

check bookworm "Debian 12" $bookworm_gtk
check trixie "Debian 13" $trixie_gtk
echo "PASS: the dark GTK theme in Debian 12 and 13"
