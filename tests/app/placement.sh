#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program under a real window manager (openbox, on a virtual X server of each size),
# at each scale: the main window's frame, as the window manager draws it, lies wholly on the
# screen, its last column and row at most the screen's width and height minus one. Qt's
# logical pixels, rounded from the device's, cannot show a frame one device pixel over.
# Usage: placement.sh <path to titrova>
set -uo pipefail
exe=$1

dir=$(mktemp -d)
trap 'kill -9 $(jobs -p) 2>/dev/null; wait 2>/dev/null; rm -rf "$dir"' EXIT
cp "$exe" "$dir/titrova"
cp "$(dirname "$0")/../data/default-settings.cfg" "$dir/settings.cfg"
mkdir -m 700 "$dir/run" "$dir/home"
export XDG_RUNTIME_DIR=$dir/run HOME=$dir/home QT_QPA_PLATFORM=xcb
unset XAUTHORITY WAYLAND_DISPLAY

fail() { echo "FAIL: $*"; exit 1; }

# Absolute left, top, width and height of a window.
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}

failed=0
for case in 1024x768:1.5 1366x768:1.5 1920x1080:1.5 1920x1080:2 1280x1024:2 1280x1024:1.25; do
    size=${case%:*} scale=${case#*:}
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$dir/display" 2>/dev/null &
    xvfb=$!
    # Xvfb compiles its keymap as it starts: seconds on a loaded machine.
    for _ in $(seq 600); do [ -s "$dir/display" ] && break; sleep 0.05; done
    [ -s "$dir/display" ] || fail "$case: the X server did not start in 30 s"
    DISPLAY=:$(head -n 1 "$dir/display")
    export DISPLAY
    : >"$dir/display"
    openbox --sm-disable >/dev/null 2>&1 &
    wm=$!
    # The window manager is ready once it names itself on the root window.
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.05
    done
    QT_SCALE_FACTOR=$scale "$dir/titrova" 2>"$dir/log" &
    program=$!
    # A loaded machine (the suite runs two tests at once, CI more beside it) may take long.
    client=""
    for _ in $(seq 600); do
        client=$(xdotool search --onlyvisible --pid $program --name '^Titrova$' 2>/dev/null | head -n 1)
        [ -n "$client" ] || kill -0 $program 2>/dev/null || fail "$case: the program ended: $(cat "$dir/log")"
        [ -n "$client" ] && break
        sleep 0.1
    done
    if [ -z "$client" ]; then
        echo "windows of the program on $DISPLAY:"
        xdotool search --pid $program 2>/dev/null | while read -r w; do xwininfo -id "$w" | grep -E 'xwininfo|Map State|geometry'; done
        fail "$case: no window in 60 s: $(cat "$dir/log")"
    fi
    # The frame is the window manager's, the client's parent; the program fits the window again
    # once the frame is there, so the place is read once it has stood still.
    last="" frame=""
    for _ in $(seq 40); do
        sleep 0.25
        frame=$(xwininfo -id "$client" -tree | awk '/Parent window id/ {print $4}')
        now=$(geometry "$frame")
        [ "$now" = "$last" ] && break
        last=$now
    done
    read -r x y w h <<<"$last"
    read -r sw sh <<<"${size/x/ }"
    if [ "$x" -lt 0 ] || [ "$y" -lt 0 ] || [ $((x + w - 1)) -gt $((sw - 1)) ] || [ $((y + h - 1)) -gt $((sh - 1)) ]; then
        echo "not ok: $size at $scale: the frame covers x = $x..$((x + w - 1)), y = $y..$((y + h - 1)) on a screen whose last column is $((sw - 1)) and last row $((sh - 1))"
        failed=1
    else
        echo "ok: $size at $scale: the frame covers x = $x..$((x + w - 1)), y = $y..$((y + h - 1))"
    fi
    kill $program $wm $xvfb 2>/dev/null
    wait $program $wm $xvfb 2>/dev/null
done
[ $failed -eq 0 ] || fail "a frame lies partly off the screen"
echo "1 passed, 0 failed"
