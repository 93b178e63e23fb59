# shellcheck shell=bash disable=SC2154,SC2034 # set by, and used in, the scripts that source it
# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the start-up benchmarks: builds (or takes) both programs, puts each in a folder
# of its own, Titrova with its settings so that no message box comes before its window, and
# starts a private virtual X server. Sets titrova, reference, tmp, runtime and display.
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

tmp=$(mktemp -d)
runtime=""
cleanup() {
    local pids
    read -ra pids <<<"$(jobs -p | tr '\n' ' ')"
    if [ ${#pids[@]} -gt 0 ]; then
        { kill -9 "${pids[@]}"; wait; } 2>/dev/null
    fi
    rm -rf "$tmp" "$runtime"
}
trap cleanup EXIT

mkdir -p "$tmp/titrova" "$tmp/reference" "$tmp/home"
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
printf '"r_l","raise"\r\n"method","Acid Blend"\r\n"acidUnits","g/L"\r\n"batchunits","U.S. Gal."\r\n"batchSize",5\r\n"blend_t",50\r\n"blend_m",30\r\n"blend_c",20\r\n' \
    >"$tmp/titrova/settings.cfg"

# No reset when the last client leaves: a program starting during a reset cannot connect.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$tmp/display" 2>"$tmp/xvfb.log" &
for _ in $(seq 200); do
    [ -s "$tmp/display" ] && break
    sleep 0.05
done
[ -s "$tmp/display" ] || { echo "$me: Xvfb did not start" >&2; exit 1; }
display=":$(head -n 1 "$tmp/display")"
