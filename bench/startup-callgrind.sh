#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Instructions Titrova runs from exec until its main window is shown, against the plain
# Qt Widgets window of bench_startup_reference, counted by valgrind's callgrind on a private
# virtual X server: unlike wall time, the count hardly moves from run to run on a shared
# machine. Both programs end at once after show() when TITROVA_BENCH_EXIT_AT_SHOW is set.
# Then bench/startup.sh times both starts and reads their memory.
# Targets, printed beside the figures: instructions ratio <= 1.08.
#
# Usage: bench/startup-callgrind.sh [runs]   (default 15, passed to bench/startup.sh;
#                                             0 counts instructions only)
#   TITROVA_BUILD_DIR  build folder to use and build in (default build/ci)
#   TITROVA_EXE, REFERENCE_EXE  take these programs instead of building
#   CALLGRIND_KEEP  a folder to leave the callgrind.out files in, for callgrind_annotate
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-15}
me=startup-callgrind.sh
extra_deps=valgrind
# shellcheck source=bench/startup-common.sh
source bench/startup-common.sh

# Prints the instructions of one start; arguments after the name go to the program.
count() {
    local name=$1 out
    shift
    out="$tmp/callgrind.out.$name${1:-}"
    DISPLAY=$display QT_QPA_PLATFORM=xcb HOME="$tmp/home" \
        XDG_RUNTIME_DIR="$runtime" TITROVA_BENCH_EXIT_AT_SHOW=1 QT_HASH_SEED=0 \
        env -u XAUTHORITY -u WAYLAND_DISPLAY \
        valgrind --tool=callgrind --callgrind-out-file="$out" "$tmp/$name/$name" "$@" \
        >/dev/null 2>"$tmp/valgrind.log" ||
        { cat "$tmp/valgrind.log" >&2; return 1; }
    awk '/^(summary|totals):/ { print $2; exit }' "$out"
    if [ -n "${CALLGRIND_KEEP:-}" ]; then
        mkdir -p "$CALLGRIND_KEEP"
        cp "$out" "$CALLGRIND_KEEP/"
    fi
}

# A start each to fill the font cache; then the lower of two counts each.
count reference >/dev/null
count titrova >/dev/null
r_ir=$(printf '%s\n' "$(count reference)" "$(count reference)" | sort -n | head -n 1)
t_ir=$(printf '%s\n' "$(count titrova)" "$(count titrova)" | sort -n | head -n 1)
f_ir=$(printf '%s\n' "$(count reference --designed-fonts)" "$(count reference --designed-fonts)" |
    sort -n | head -n 1)

awk -v t="$t_ir" -v r="$r_ir" -v f="$f_ir" 'BEGIN {
    printf "Instructions from exec to the main window shown (callgrind), Xvfb 1280x1024x24\n"
    printf "%-11s %14s\n", "", "instructions"
    printf "%-11s %14.2fM\n", "reference", r / 1e6
    printf "%-11s %14.2fM\n", "titrova", t / 1e6
    printf "%-11s %15.3f\n", "ratio", t / r
    printf "reference with Titrova'"'"'s fonts %.2fM: ratio %.3f\n", f / 1e6, t / f
    printf "target: instructions ratio <= 1.08 (%s)\n\n", t / r <= 1.08 ? "met" : "MISSED"
}'

[ "$runs" -gt 0 ] || exit 0
TITROVA_EXE=$titrova REFERENCE_EXE=$reference bash bench/startup.sh "$runs"
