# shellcheck shell=bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the package checks and the benchmarks: failing, a work folder cleaned on exit, a
# private X server, and the first-start scenario a user goes through, driven with xdotool.
# The scripts set pid when they start the program and settings to where it saves them;
# by_pid=no finds windows by caption alone (Wine's carry no process id of ours); slow
# multiplies every wait.

lib_dir=$(dirname "${BASH_SOURCE[0]}")
# The settings file the program writes for its built-in defaults.
defaults=$(realpath -m "$lib_dir/../tests/data/default-settings.cfg")
slow=${slow:-1}
by_pid=${by_pid:-yes}
pid="" settings=""

fail() {
    echo "FAIL: $*"
    [ -s "${log:-}" ] && sed 's/^/  program: /' "$log"
    exit 1
}
ok() { echo "ok: $*"; }
as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
need_root() { [ "$(id -u)" -eq 0 ] || fail "needs root (mount namespace and chroot)"; }

# Usage: work_folder <parent>: sets tmp, emptied and removed on exit, after on_exit if defined.
work_folder() {
    tmp=$(mktemp -d "$1/run.XXXXXX")
    trap cleanup EXIT
}
cleanup() {
    local pids
    declare -F on_exit >/dev/null && on_exit
    # Wine's server outlives its programs and writes into its prefix as it ends.
    [ ! -d "$tmp/prefix" ] || WINEPREFIX="$tmp/prefix" timeout 20 /usr/lib/wine/wineserver -k 2>/dev/null || true
    read -ra pids <<<"$(jobs -p | tr '\n' ' ')"
    if [ ${#pids[@]} -gt 0 ]; then
        { kill -9 "${pids[@]}"; wait; } 2>/dev/null
    fi
    # Mounts live in the program's own namespace; never delete through one left behind.
    if findmnt -rno TARGET | grep -qF "$tmp"; then
        echo "left in place, still mounted: $tmp"
    else
        rm -rf "$tmp"
    fi
}

# A private X server on a display it picks itself: never the user's desktop, and no race with
# another one starting at the same moment. No reset when the last client leaves: a program
# starting during a reset cannot connect. Exports DISPLAY.
start_x() {
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$tmp/display" 2>"$tmp/xvfb.log" &
    for _ in $(seq 200); do
        [ -s "$tmp/display" ] && break
        sleep 0.05
    done
    [ -s "$tmp/display" ] || fail "Xvfb did not start: $(cat "$tmp/xvfb.log")"
    DISPLAY=":$(head -n 1 "$tmp/display")"
    export DISPLAY
    unset XAUTHORITY WAYLAND_DISPLAY
}

# Usage: "${in_chroot[@]}" <root> <runtime folder to show as /tmp/runtime, or ""> <apt archives, or "">
# <environment...> <command...>: in a mount namespace of its own, with /proc and the X socket
# (and with archives, /dev) shown inside. Not a function: unshare and chroot exec in turn, so
# that run in the background the program keeps the process id started here.
# shellcheck disable=SC2016 # expanded by the shell inside
chroot_script='root=$1 runtime=$2 archives=$3; shift 3
    mkdir -p "$root/tmp/.X11-unix" "$root/tmp/runtime" && chmod 700 "$root/tmp/runtime" &&
        mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix" && mount -t proc proc "$root/proc" &&
        { [ -z "$runtime" ] || mount --bind "$runtime" "$root/tmp/runtime"; } &&
        { [ -z "$archives" ] || { mount --rbind /dev "$root/dev" &&
            mount --bind "$archives" "$root/var/cache/apt/archives"; }; } || exit 99
    exec chroot "$root" /usr/bin/env -i "$@"'
# shellcheck disable=SC2034 # used by the scripts that source this
in_chroot=(unshare --mount --propagation private sh -c "$chroot_script" sh)

pause() { sleep "$(awk -v s="$1" -v f="$slow" 'BEGIN { print s * f }')"; }
# Usage: search [--wait <seconds>] <xdotool search options...>: the program's visible windows,
# with --wait the first to show within that time. Without a process id, every captioned one.
search() {
    local wait=() args=(--all --onlyvisible)
    [ "${1:-}" != --wait ] || { wait=(timeout "$2"); args+=(--sync); shift 2; }
    if [ "$by_pid" = yes ]; then
        args+=(--pid "$pid")
    elif [ $# -eq 0 ]; then
        args+=(--name .)
    fi
    "${wait[@]}" xdotool search "${args[@]}" "$@" 2>/dev/null
}
named() { search --name "^$1\$"; }
# The main window is an ordinary top-level window; a message box is a dialog owned by it.
is_main() {
    local type
    type=$(xprop -id "$1" -notype _NET_WM_WINDOW_TYPE 2>/dev/null)
    [[ $type != *_NET_WM_WINDOW_TYPE_DIALOG* ]] && [[ $by_pid = no || $type == *_NET_WM_WINDOW_TYPE_NORMAL* ]]
}
# Waits for the program's first visible window captioned Titrova and prints it.
first_window() {
    local w
    for _ in $(seq $((300 * slow))); do
        w=$(named Titrova | head -n 1)
        [ -n "$w" ] && { echo "$w"; return 0; }
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.05
    done
    return 1
}
# The message box bears the program's name too, and a slow start still shows it a while after
# its key: only the main window ends the wait.
main_window() {
    local w
    for _ in $(seq $((100 * slow))); do
        for w in $(named Titrova); do
            is_main "$w" && { echo "$w"; return 0; }
        done
        sleep 0.1
    done
    return 1
}
keys() {
    xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus "$1" 2>/dev/null
    pause 0.2
    xdotool key "${@:2}"
}
# Ends the program through File > Exit and checks that it ends with status 0.
quit() {
    local status
    keys "$1" alt+f
    pause 0.3
    xdotool key Return
    for _ in $(seq $((150 * slow))); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "File > Exit did not end the program"
    wait "$pid"
    status=$?
    [ $status -eq 0 ] || fail "the program ended with status $status"
}
# The shared libraries a running process has loaded, one path a line.
libraries() { sed -nE 's#^([^ ]+ +){5}(/.*\.so[.0-9]*)$#\2#p' "/proc/$1/maps" | sort -u; }
# Help > Titrova Manual, the menu's first entry.
manual() {
    keys "$1" alt+h
    pause 0.3
    xdotool key Return
}

# Usage: first_start <command that starts the program and sets pid...>: its first window is
# the missing-settings message; sets box.
first_start() {
    "$@"
    box=$(first_window) || fail "the first start shows no window"
    is_main "$box" && fail "the first start shows the main window without the missing-settings message"
}
# The message's key, then the main window; sets main. No settings file is written by then.
past_message() {
    keys "$box" Return
    main=$(main_window) || fail "no main window after the missing-settings message"
    [ -e "$settings" ] && fail "settings.cfg was written before any save"
}
# OK in Default Settings writes the built-in defaults to $settings and closes the dialog.
save_defaults() {
    local dialog=""
    for _ in 1 2 3; do
        keys "$main" alt+o
        dialog=$(search --wait $((3 * slow)) --name '^Default Settings$' | head -n 1)
        [ -n "$dialog" ] && break
    done
    [ -n "$dialog" ] || fail "Alt+O does not open the Default Settings dialog"
    keys "$dialog" alt+o
    for _ in $(seq $((50 * slow))); do
        [ -s "$settings" ] && ! search | grep -qx "$dialog" && break
        sleep 0.1
    done
    [ -f "$settings" ] || fail "OK in Default Settings wrote no settings.cfg"
    search | grep -qx "$dialog" && fail "the Default Settings dialog stayed open after OK"
    cmp -s "$defaults" "$settings" ||
        fail "settings.cfg does not hold the built-in defaults:$(printf '\n')$(od -c "$settings")"
}
# A start with the settings saved: the main window at once, nothing else; sets first.
second_start() {
    "$@"
    first=$(first_window) || fail "the second start shows no window"
    is_main "$first" || fail "the second start shows a message box before the main window"
    pause 0.5
    [ "$(search | wc -l)" -eq 1 ] || fail "the second start shows more than the main window"
}
