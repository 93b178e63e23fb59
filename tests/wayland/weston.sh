#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a program on a private weston: weston.sh <program> [args...]. With Xvfb and xdotool,
# weston runs in an X window, so that a test can press weston's own key bindings there
# (TITROVA_KEYS_DISPLAY), with every CPU kept busy as on a loaded machine; otherwise headless.
set -u
command -v weston >/dev/null || { echo "SKIP: weston is not installed"; exit 77; }
plugins=$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null || echo /usr/lib/x86_64-linux-gnu/qt6/plugins)
[ -e "$plugins/platforms/libqwayland-generic.so" ] || { echo "SKIP: qt6-wayland is not installed"; exit 77; }
if [ -z "${TITROVA_IN_XVFB:-}" ] && command -v xvfb-run >/dev/null && command -v xdotool >/dev/null; then
    TITROVA_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi

XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
busy=()
trap 'kill $weston "${busy[@]}" 2>/dev/null; wait $weston 2>/dev/null; [ -n "${TITROVA_WESTON_LOG:-}" ] && cat "$XDG_RUNTIME_DIR/weston.log"; rm -rf "$XDG_RUNTIME_DIR"' EXIT
backend=(--backend=headless-backend.so)
[ -n "${TITROVA_IN_XVFB:-}" ] && backend=(--backend=x11-backend.so --width=1024 --height=768)
weston "${backend[@]}" --socket=titrova-test --idle-time=0 --log="$XDG_RUNTIME_DIR/weston.log" &
weston=$!
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/titrova-test" ] && break; sleep 0.05; done
[ -S "$XDG_RUNTIME_DIR/titrova-test" ] || { cat "$XDG_RUNTIME_DIR/weston.log"; exit 1; }
if [ -n "${TITROVA_IN_XVFB:-}" ]; then
    timeout 10 xdotool search --sync --onlyvisible --name "Weston Compositor" windowfocus mousemove 512 384 >/dev/null
    export TITROVA_KEYS_DISPLAY=$DISPLAY
    for _ in $(seq "$(nproc)"); do nice bash -c 'while :; do :; done' & busy+=($!); done
fi
WAYLAND_DISPLAY=titrova-test QT_QPA_PLATFORM=wayland "$@"
