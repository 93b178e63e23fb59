#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# titrova.exe's start-up under Wine against a plain Qt Widgets window built with the same static
# Qt (bench_startup_reference.exe), on a private virtual X server: each run timed from just
# before Wine starts the program to the MapNotify of its first top-level window, runs
# alternating between the two, medians and their ratio printed with the exe's size.
# Target, printed beside the figures: time ratio <= 1.10.
#
# Usage: bench/startup-wine.sh [runs]   (default 11; build first with scripts/windows)
#   TITROVA_WINDOWS_BUILD  the Windows build folder (default build/windows)
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-11}
me=startup-wine.sh
build=${TITROVA_WINDOWS_BUILD:-build/windows}
export TITROVA_EXE=$build/app/titrova.exe REFERENCE_EXE=$build/bench/startup/bench_startup_reference.exe
# shellcheck source=bench/startup-common.sh
source bench/startup-common.sh
wine=/usr/lib/wine/wine64
DISPLAY=$display
export DISPLAY WINEPREFIX="$tmp/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset XAUTHORITY WAYLAND_DISPLAY QT_QPA_PLATFORM
timeout 300 "$wine" wineboot -i >/dev/null 2>&1
# Wine's server stays up between runs, as it does on a desktop that has run one program.
"$wine" cmd /c exit >/dev/null 2>&1 || true

coproc XEV { exec stdbuf -oL xev -root -event substructure 2>/dev/null; }
sleep 0.5
drain() {
    while read -r -t 0.05 _ <&"${XEV[0]}"; do :; done
}
micros() { echo "${1/[.,]/}"; }

close_program() {
    local pid=$1 window=$2
    xdotool windowfocus "$window" key alt+f 2>/dev/null
    sleep 0.2
    xdotool key Return 2>/dev/null
    for _ in $(seq 40); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

# One start: prints the microseconds to the first mapped top-level window.
measure() {
    local exe=$1 t0 t1 line pid window
    drain
    t0=$EPOCHREALTIME
    "$wine" "$exe" 2>/dev/null &
    pid=$!
    while :; do
        IFS= read -r -t 30 line <&"${XEV[0]}" || { echo "$me: $exe mapped no window" >&2; return 1; }
        [[ $line == MapNotify* ]] || continue
        t1=$EPOCHREALTIME
        IFS= read -r -t 1 line <&"${XEV[0]}" || true
        [[ $line == *"override YES"* ]] || break
    done
    window=${line#*, window }
    close_program "$pid" "${window%%,*}"
    echo "$(($(micros "$t1") - $(micros "$t0")))"
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

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
awk -v runs="$runs" -v tt="$(median <"$tmp/t.txt")" -v rt="$(median <"$tmp/r.txt")" \
    -v size="$(stat -c %s "$titrova")" '
BEGIN {
    printf "Start-up under Wine to the first mapped window, median of %d runs each, Xvfb\n", runs
    printf "%-11s %10.1f ms\n%-11s %10.1f ms\n", "reference", rt / 1000, "titrova.exe", tt / 1000
    printf "%-11s %10.3f   target <= 1.10 (%s)\n", "ratio", tt / rt, tt / rt <= 1.10 ? "met" : "MISSED"
    printf "titrova.exe: %.1f MB\n", size / 1e6
}'
