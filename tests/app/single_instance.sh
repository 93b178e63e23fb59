#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Two real copies of the program under a virtual X server: the second refuses with its
# message and ends; a copy killed with SIGKILL never blocks the next start; of two copies
# started at the same moment exactly one runs; nothing at the lock's name stops a lone copy;
# nothing is written outside the runtime folder; a Latin-1 folder name is no obstacle.
# Usage: single_instance.sh <path to titrova> [rounds]
set -uo pipefail
exe=$1
rounds=${2:-20}

dir=$(mktemp -d)
trap 'kill -9 $(jobs -p) 2>/dev/null; rm -rf "$dir"' EXIT
cp "$exe" "$dir/titrova"
cp "$(dirname "$0")/../data/default-settings.cfg" "$dir/settings.cfg"
# No user's own settings file comes before the one beside the program.
export QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME=$dir/config
mkdir -m 700 "$dir/run"
export XDG_RUNTIME_DIR=$dir/run
lock=$dir/run/titrova-$(id -u)-$(printf %s "$dir/titrova" | sha1sum | cut -c1-16).lock

fail() { echo "FAIL: $*"; exit 1; }

# The visible top-level window of a process, waiting up to 10 s for it.
window_of() { timeout 10 xdotool search --all --sync --onlyvisible --pid "$1" --name '^Titrova$' 2>/dev/null | head -n 1; }
width_of() { xwininfo -id "$1" | awk '/Width:/ {print $2}'; }
press_ok() { xdotool windowfocus "$1" 2>/dev/null; sleep 0.2; xdotool key Return; }

# A window 482 pixels wide is the main window; anything else is the refusal box.
main_width=482

# Starts the program given and ends it once a window shows: true when that is the main window.
reaches_main() {
    "$@" & local pid=$! w width=""
    w=$(window_of $pid) && [ -n "$w" ] && width=$(width_of "$w")
    kill -9 $pid 2>/dev/null; wait $pid 2>/dev/null
    [ "$width" = $main_width ]
}

"$dir/titrova" & first=$!
w=$(window_of $first); [ -n "$w" ] || fail "first copy shows no window"
[ "$(width_of "$w")" = $main_width ] || fail "first copy does not show the main window"

"$dir/titrova" & second=$!
w2=$(window_of $second); [ -n "$w2" ] || fail "second copy shows nothing"
[ "$(width_of "$w2")" != $main_width ] || fail "second copy opened a main window"
xdotool getwindowname "$w2" | grep -qx Titrova || fail "refusal box not captioned Titrova"
press_ok "$w2"
wait $second; status=$?
[ $status -eq 1 ] || fail "second copy ended with $status, expected 1"
kill -0 $first 2>/dev/null || fail "first copy did not survive the second"
echo "ok: the second copy refuses and ends; the first runs on"

kill -9 $first; wait $first 2>/dev/null
"$dir/titrova" & third=$!
w3=$(window_of $third); [ -n "$w3" ] || fail "no start after SIGKILL"
[ "$(width_of "$w3")" = $main_width ] || fail "start after SIGKILL was refused"
kill -9 $third; wait $third 2>/dev/null
echo "ok: a killed copy leaves no lock behind"
[ -f "$lock" ] || fail "no lock file at $lock"

# Whatever sits at the lock's name, a lone copy starts.
rm -f "$lock"; mkdir "$lock"
"$dir/titrova" & fourth=$!
w4=$(window_of $fourth); [ -n "$w4" ] || fail "no start with a folder at the lock's name"
[ "$(width_of "$w4")" = $main_width ] || fail "start refused with a folder at the lock's name"
kill -9 $fourth; wait $fourth 2>/dev/null
rmdir "$lock"
echo "ok: a folder at the lock's name does not stop a start"

# Without a usable runtime folder the program, Qt included, writes only to a private folder
# of its own in the temp folder: never Qt's own folder there, never the working folder.
mkdir "$dir/tmp" "$dir/wd"
for given in unset "" run "$dir/settings.cfg"; do
    if [ "$given" = unset ]; then unset XDG_RUNTIME_DIR; else export XDG_RUNTIME_DIR=$given; fi
    (cd "$dir/wd" && export TMPDIR=$dir/tmp && reaches_main "$dir/titrova") ||
        fail "no start with XDG_RUNTIME_DIR $given"
    [[ -z $(ls -A "$dir/wd") && $(ls -A "$dir/tmp") = "titrova-runtime-$(id -u)" ]] ||
        fail "XDG_RUNTIME_DIR $given: wrote $(ls -A "$dir/wd" "$dir/tmp")"
done
export XDG_RUNTIME_DIR=$dir/run
echo "ok: an unusable runtime folder sends nothing elsewhere"

# A folder name that is no UTF-8: the settings beside the program are read (else the
# missing-settings message would hold the start), and nothing goes to the root.
latin=$dir/$(printf 'caf\xe9')
mkdir "$latin" && cp "$dir/titrova" "$dir/settings.cfg" "$latin/"
root_before=$(ls -A /)
reaches_main "$latin/titrova" || fail "settings not read in a Latin-1 folder"
[ "$(ls -A /)" = "$root_before" ] || fail "the root changed"
echo "ok: the settings beside a program in a Latin-1 folder are read"

for round in $(seq 1 "$rounds"); do
    "$dir/titrova" & a=$!
    "$dir/titrova" & b=$!
    wa=$(window_of $a); wb=$(window_of $b)
    [[ -n $wa && -n $wb ]] || fail "round $round: a copy showed nothing"
    mains=0; refused=""
    for pair in "$a:$wa" "$b:$wb"; do
        if [ "$(width_of "${pair#*:}")" = $main_width ]; then
            mains=$((mains + 1)); runner=${pair%%:*}
        else
            refused=$pair
        fi
    done
    [ $mains -eq 1 ] || fail "round $round: $mains main windows"
    press_ok "${refused#*:}"
    wait "${refused%%:*}"; status=$?
    [ $status -eq 1 ] || fail "round $round: refused copy ended with $status"
    kill -9 "$runner"; wait "$runner" 2>/dev/null
done
echo "ok: $rounds rounds of two copies at once, one window each time"
echo "1 passed, 0 failed"
