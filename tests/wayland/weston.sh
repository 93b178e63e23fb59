#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a program on a private headless weston: weston.sh <program> [args...]
set -u
command -v weston >/dev/null || { echo "SKIP: weston is not installed"; exit 77; }
plugins=$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null || echo /usr/lib/x86_64-linux-gnu/qt6/plugins)
[ -e "$plugins/platforms/libqwayland-generic.so" ] || { echo "SKIP: qt6-wayland is not installed"; exit 77; }

export XDG_RUNTIME_DIR=$(mktemp -d)
trap 'kill $weston 2>/dev/null; wait $weston 2>/dev/null; rm -rf "$XDG_RUNTIME_DIR"' EXIT
weston --backend=headless-backend.so --socket=titrova-test --idle-time=0 \
    --log="$XDG_RUNTIME_DIR/weston.log" &
weston=$!
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/titrova-test" ] && break; sleep 0.05; done
[ -S "$XDG_RUNTIME_DIR/titrova-test" ] || { cat "$XDG_RUNTIME_DIR/weston.log"; exit 1; }
WAYLAND_DISPLAY=titrova-test QT_QPA_PLATFORM=wayland "$@"
