#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs atspi_client.py against a copy of the program on a private X server and session bus.
set -u
program=$1
launcher=/usr/libexec/at-spi-bus-launcher
for tool in xvfb-run dbus-run-session; do
    command -v $tool >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
[ -x $launcher ] || { echo "SKIP: at-spi2-core is not installed"; exit 77; }
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "SKIP: python3-pyatspi is not installed"; exit 77; }

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp "$program" "$dir/titrova"
printf '"r_l","raise"\r\n"method","Acid Blend"\r\n"acidUnits","g/L"\r\n"batchunits","Litres"\r\n"batchSize",100\r\n"blend_t",50\r\n"blend_m",30\r\n"blend_c",20\r\n' >"$dir/settings.cfg"
# The stand-in browser: records what the program asks the desktop to open.
mkdir "$dir/bin"
# shellcheck disable=SC2016 # the stand-in's own $1
printf '#!/bin/sh\necho "$1" >>"%s/opened"\n' "$dir" >"$dir/bin/xdg-open"
chmod +x "$dir/bin/xdg-open"
export PATH="$dir/bin:$PATH" BROWSER="$dir/bin/xdg-open" OPENED="$dir/opened"
# No user's own settings file comes before the one beside the program.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb NO_AT_BRIDGE=0 \
    XDG_RUNTIME_DIR="$dir" XDG_CONFIG_HOME="$dir/config" XDG_CURRENT_DESKTOP=none LC_ALL=C.UTF-8
# shellcheck disable=SC2016 # expanded by the shell it starts
exec xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- bash -c '
    '$launcher' --launch-immediately & launcher=$!
    sleep 0.5
    "$0" & app=$!
    /usr/bin/python3 "$1"; rc=$?
    kill $app $launcher 2>/dev/null
    exit $rc' "$dir/titrova" "$(dirname "$0")/atspi_client.py"
