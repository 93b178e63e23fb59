#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What Orca says while a user works the program by keys: real Orca on a private X server and
# session bus, speech-dispatcher writing each spoken text to a file instead of a sound card.
set -u
program=$1
launcher=/usr/libexec/at-spi-bus-launcher
for tool in xvfb-run dbus-run-session xdotool orca speech-dispatcher; do
    command -v $tool >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
[ -x $launcher ] || { echo "SKIP: at-spi2-core is not installed"; exit 77; }
[ -x /usr/lib/speech-dispatcher-modules/sd_generic ] || { echo "SKIP: no sd_generic"; exit 77; }

if [ -z "${TITROVA_IN_XVFB:-}" ]; then
    TITROVA_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- bash "$0" "$@"
fi

dir=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; rm -rf "$dir"' EXIT
cp "$program" "$dir/titrova"
printf '"r_l","raise"\r\n"method","Acid Blend"\r\n"acidUnits","g/L"\r\n"batchunits","Litres"\r\n"batchSize",100\r\n"blend_t",50\r\n"blend_m",30\r\n"blend_c",20\r\n' >"$dir/settings.cfg"
mkdir -p "$dir/speech/modules" "$dir/run" "$dir/config" "$dir/data"
chmod 700 "$dir/run"
spoken=$dir/spoken
touch "$spoken"
cat >"$dir/speech/speechd.conf" <<CONF
DefaultModule logger
AddModule "logger" "sd_generic" "logger.conf"
LanguageDefaultModule "en" "logger"
DefaultLanguage "en"
AudioOutputMethod "libao"
CONF
cat >"$dir/speech/modules/logger.conf" <<CONF
GenericExecuteSynth "printf '%s\\\\n' \\'\$DATA\\' >> $spoken"
GenericCmdDependsOnVoice 0
GenericStripPunctChars ""
GenericLanguage "en" "en" "utf-8"
AddVoice "en" "MALE1" "logger"
CONF
# The module opens a sound device before it ever runs the command: libao's null one.
printf 'default_driver=null\n' >"$dir/.libao"
export HOME=$dir XDG_RUNTIME_DIR=$dir/run XDG_CONFIG_HOME=$dir/config XDG_DATA_HOME=$dir/data \
    SPEECHD_ADDRESS=unix_socket:$dir/speech/socket LC_ALL=C.UTF-8
$launcher --launch-immediately & pids+=($!)
speech-dispatcher -s -t 0 -C "$dir/speech" -c unix_socket -S "$dir/speech/socket" -L "$dir/speech" \
    2>/dev/null & pids+=($!)

# Whether a spoken line holding the text was said after the given line number, waiting up to
# the given tenths of a second.
heard() {
    local after=$1 text=$2
    for _ in $(seq "${3:-300}"); do
        tail -n +"$((after + 1))" "$spoken" | grep -qF -- "$text" && return 0
        sleep 0.1
    done
    return 1
}
said() {
    heard "$@" && return 0
    echo "FAIL: Orca did not say \"$2\"; it said:"; cat "$spoken"
    exit 1
}
lines() { wc -l <"$spoken"; }

orca --replace >"$dir/orca.out" 2>&1 & pids+=($!)
said 0 "Screen reader on"
# Orca says so before its event listeners are all in place.
sleep 2
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$dir/titrova" & pids+=($!)
# Found only once mapped: focusing a window not yet viewable fails (BadMatch).
timeout 60 xdotool search --sync --onlyvisible --name '^Titrova$' windowfocus >/dev/null ||
    { echo "FAIL: no Titrova window to focus"; exit 1; }
# On a busy machine Orca may still miss the first focus: the focus goes away and back.
for _ in 1 2 3; do
    heard 0 "Existing TA" 100 && break
    xdotool key Tab shift+Tab
done
said 0 "Existing TA"

at=$(lines); xdotool key ctrl+a type 5; xdotool key Tab ctrl+a; xdotool type 6; xdotool key Return
said "$at" "95.52 grams"
at=$(lines); xdotool key Tab Tab Tab
said "$at" "Acid Blend"; said "$at" "Using combo box"
at=$(lines); xdotool key Down
said "$at" "Blend Wine"
at=$(lines); xdotool key shift+Tab shift+Tab shift+Tab ctrl+a BackSpace Return
said "$at" "Please enter target TA"
xdotool key Return
echo "Orca said:"; cat "$spoken"
