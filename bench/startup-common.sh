# shellcheck shell=bash disable=SC2154,SC2034 # set by, and used in, the scripts that source it
# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the start-up benchmarks: builds (or takes) both programs, puts each in a folder
# of its own, Titrova with its settings so that no message box comes before its window, and
# starts a private virtual X server (DISPLAY exported). Sets titrova, reference, tmp, runtime
# and display.
# Expects: me (the script's name, for messages) and extra_deps (packages beyond Xvfb's).

build=${TITROVA_BUILD_DIR:-build/ci}
titrova=${TITROVA_EXE:-}
reference=${REFERENCE_EXE:-}

if [ -z "$titrova" ] || [ -z "$reference" ]; then
    # shellcheck disable=SC2086 # a list of package names
    bash scripts/deps.sh xvfb x11-utils xdotool $extra_deps >/dev/null
    [ -f "$build/CMakeCache.txt" ] ||
        cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DTITROVA_WERROR=ON >/dev/null
    cmake --build "$build" --target titrova bench_startup_reference -j"$(nproc)" >/dev/null
    titrova=${titrova:-$build/app/titrova}
    reference=${reference:-$build/bench/startup/bench_startup_reference}
fi
for exe in "$titrova" "$reference"; do
    [ -x "$exe" ] || { echo "$me: $exe is not a program" >&2; exit 1; }
done
titrova=$(realpath "$titrova")
reference=$(realpath "$reference")

# shellcheck source=packaging/lib.sh
. packaging/lib.sh
fail() { echo "$me: $*" >&2; exit 1; }
runtime=""
on_exit() { rm -rf "$runtime"; }
work_folder "${TMPDIR:-/tmp}"

mkdir -p "$tmp/titrova" "$tmp/reference" "$tmp/home"
# No user's own settings file comes before the one beside the program.
export XDG_CONFIG_HOME=$tmp/home/.config
# A desktop session's runtime folder is a tmpfs; /dev/shm stands in for it where it exists.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    runtime=$(mktemp -d /dev/shm/titrova-bench.XXXXXX)
else
    runtime=$tmp/runtime
    mkdir -p "$runtime"
fi
chmod 700 "$runtime"
cp "$titrova" "$tmp/titrova/titrova"
cp "$reference" "$tmp/reference/reference"
cp "$defaults" "$tmp/titrova/settings.cfg"

start_x
display=$DISPLAY

# Watches the root window's children being mapped: the moment a program's first window shows.
watch_maps() {
    coproc XEV { exec stdbuf -oL xev -root -event substructure 2>/dev/null; }
    # xev prints nothing until an event comes; give it time to select them before the first run.
    sleep 0.5
}

# Drops what is left of the previous run's events (its unmapping and destruction).
drain() {
    while read -r -t 0.05 _ <&"${XEV[0]}"; do :; done
}

# $EPOCHREALTIME carries the locale's decimal separator and always six decimals.
micros() { echo "${1/[.,]/}"; }

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Ends a program the way a user would: File > Exit, so that Titrova leaves no stale lock
# for the next start to clear. Whatever still runs after the given seconds (1) is killed.
close_program() {
    local pid=$1 window=$2 patience=${3:-1}
    xdotool windowfocus "$window" key alt+f 2>/dev/null
    sleep 0.1
    xdotool key Return 2>/dev/null
    for _ in $(seq $((patience * 20))); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

# Two uncounted starts of each (the page and font caches warm), then the given number of runs
# of each, alternating which goes first, through the script's own measure: reference lines
# into $tmp/r.txt, Titrova's into $tmp/t.txt.
alternate() {
    local runs=$1 i
    for _ in 1 2; do
        measure "$tmp/reference/reference" >/dev/null
        measure "$tmp/titrova/titrova" >/dev/null
    done
    : >"$tmp/t.txt"
    : >"$tmp/r.txt"
    for i in $(seq "$runs"); do
        if [ $((i % 2)) -eq 1 ]; then
            measure "$tmp/reference/reference" >>"$tmp/r.txt"
            measure "$tmp/titrova/titrova" >>"$tmp/t.txt"
        else
            measure "$tmp/titrova/titrova" >>"$tmp/t.txt"
            measure "$tmp/reference/reference" >>"$tmp/r.txt"
        fi
    done
}
