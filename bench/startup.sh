#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up time and memory of Titrova against a plain Qt Widgets window with as many
# widgets (bench_startup_reference), on a private virtual X server. Each run is timed from
# just before exec to the MapNotify of the program's first top-level window, seen by xev
# watching the root window (no polling, well under a millisecond late); VmRSS is read at
# that moment. Runs alternate between the two programs; medians and ratios are printed.
# Targets, printed beside the figures: time ratio <= 1.10, memory ratio <= 1.05.
#
# Usage: bench/startup.sh [runs]          (default 15)
#   TITROVA_BUILD_DIR  build folder to use and build in (default build/ci)
#   TITROVA_EXE, REFERENCE_EXE  take these programs instead of building
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-15}
me=startup.sh
extra_deps=""
# shellcheck source=bench/startup-common.sh
source bench/startup-common.sh
export QT_QPA_PLATFORM=xcb HOME="$tmp/home" XDG_RUNTIME_DIR="$runtime"
watch_maps

# One start: prints "<microseconds to map> <VmRSS kB>".
measure() {
    local exe=$1 t0 t1 line pid rss=0 key value window
    drain
    t0=$EPOCHREALTIME
    "$exe" 2>/dev/null &
    pid=$!
    while :; do
        IFS= read -r -t 10 line <&"${XEV[0]}" || { echo "startup.sh: $exe mapped no window" >&2; return 1; }
        [[ $line == MapNotify* ]] || continue
        t1=$EPOCHREALTIME
        while read -r key value _; do
            [ "$key" = VmRSS: ] && { rss=$value; break; }
        done </proc/$pid/status
        IFS= read -r -t 1 line <&"${XEV[0]}" || true
        [[ $line == *"override YES"* ]] || break
    done
    window=${line#*, window }
    close_program "$pid" "${window%%,*}"
    echo "$(($(micros "$t1") - $(micros "$t0"))) $rss"
}

alternate "$runs"

t_time=$(cut -d' ' -f1 "$tmp/t.txt" | median)
r_time=$(cut -d' ' -f1 "$tmp/r.txt" | median)
t_rss=$(cut -d' ' -f2 "$tmp/t.txt" | median)
r_rss=$(cut -d' ' -f2 "$tmp/r.txt" | median)
range() { sort -n | sed -n '1p;$p' | tr '\n' ' '; }

awk -v runs="$runs" -v tt="$t_time" -v rt="$r_time" -v tm="$t_rss" -v rm="$r_rss" \
    -v trange="$(cut -d' ' -f1 "$tmp/t.txt" | range)" -v rrange="$(cut -d' ' -f1 "$tmp/r.txt" | range)" '
function verdict(x, limit) { return x <= limit ? "met" : "MISSED" }
BEGIN {
    split(trange, ta, " "); split(rrange, ra, " ")
    printf "Start-up to the first mapped window, median of %d runs each, Xvfb 1280x1024x24\n", runs
    printf "%-11s %10s %16s %11s\n", "", "time ms", "(min .. max)", "VmRSS MiB"
    printf "%-11s %10.1f %7.1f .. %5.1f %11.1f\n", "reference", rt / 1000, ra[1] / 1000, ra[2] / 1000, rm / 1024
    printf "%-11s %10.1f %7.1f .. %5.1f %11.1f\n", "titrova", tt / 1000, ta[1] / 1000, ta[2] / 1000, tm / 1024
    printf "%-11s %10.3f %16s %11.3f\n", "ratio", tt / rt, "", tm / rm
    printf "target: time ratio <= 1.10 (%s), memory ratio <= 1.05 (%s)\n",
        verdict(tt / rt, 1.10), verdict(tm / rm, 1.05)
}'
