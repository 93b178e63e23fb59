#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# titrova.exe's start-up under Wine against a plain Qt Widgets window built with the same static
# Qt (bench_startup_reference.exe), on a private virtual X server: each run timed from just
# before Wine starts the program to the MapNotify of its first top-level window, runs
# alternating between the two, medians and their ratio printed with the exe's size. Both are
# timed stripped, as titrova.exe ships.
# Target, printed beside the figures: time ratio <= 1.10.
#
# Usage: bench/startup-wine.sh [runs]   (default 11; build first with scripts/windows)
#   TITROVA_WINDOWS_BUILD  the Windows build folder (default build/windows)
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-11}
me=startup-wine.sh
build=${TITROVA_WINDOWS_BUILD:-build/windows}
# Timed as they ship: stripped, as the zip and the installer strip titrova.exe (with the build's
# own strip, which `cmake --install --strip` runs), not the build folder's with their symbols.
strip=$(sed -n 's/^CMAKE_STRIP:FILEPATH=//p' "$build/CMakeCache.txt" 2>/dev/null)
[ -x "$strip" ] || { echo "$me: no strip in $build/CMakeCache.txt; build with scripts/windows" >&2; exit 1; }
shipped=$build/bench/shipped
mkdir -p "$shipped"
"$strip" -o "$shipped/titrova.exe" "$build/app/titrova.exe"
"$strip" -o "$shipped/bench_startup_reference.exe" "$build/bench/startup/bench_startup_reference.exe"
export TITROVA_EXE=$shipped/titrova.exe REFERENCE_EXE=$shipped/bench_startup_reference.exe
# shellcheck source=bench/startup-common.sh
source bench/startup-common.sh
wine=/usr/lib/wine/wine64
export WINEPREFIX="$tmp/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset QT_QPA_PLATFORM
timeout 300 "$wine" wineboot -i >/dev/null 2>&1
# Wine's server stays up between runs, as it does on a desktop that has run one program.
"$wine" cmd /c exit >/dev/null 2>&1 || true
watch_maps

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
    close_program "$pid" "${window%%,*}" 2
    echo "$(($(micros "$t1") - $(micros "$t0")))"
}

alternate "$runs"
awk -v runs="$runs" -v tt="$(median <"$tmp/t.txt")" -v rt="$(median <"$tmp/r.txt")" \
    -v size="$(stat -c %s "$titrova")" '
BEGIN {
    printf "Start-up under Wine to the first mapped window, median of %d runs each, Xvfb\n", runs
    printf "%-11s %10.1f ms\n%-11s %10.1f ms\n", "reference", rt / 1000, "titrova.exe", tt / 1000
    printf "%-11s %10.3f   target <= 1.10 (%s)\n", "ratio", tt / rt, tt / rt <= 1.10 ? "met" : "MISSED"
    printf "titrova.exe: %.1f MB\n", size / 1e6
}'
