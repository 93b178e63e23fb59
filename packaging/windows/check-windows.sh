#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows program as a user meets it, under Wine on a private X display: the zip's folder
# unpacked into a folder whose name holds a blank, started twice (the first start falls back to
# the built-in defaults and Default Settings saves them beside the program; the second reads them
# silently), a second copy refused, File > Exit; then the installer, silently, for the user
# only, the installed program started, and the uninstaller.
# Usage: check-windows.sh <titrova-*-windows-x64.zip> <titrova-*-setup.exe>
set -uo pipefail

zip=$(realpath "$1")
installer=$(realpath "$2")
wine=/usr/lib/wine/wine64

fail() {
    echo "FAIL: $*"
    exit 1
}
ok() { echo "ok: $*"; }

tmp=$(mktemp -d)
cleanup() {
    WINEPREFIX="$tmp/prefix" timeout 20 /usr/lib/wine/wineserver -k 2>/dev/null
    local pids
    read -ra pids <<<"$(jobs -p | tr '\n' ' ')"
    if [ ${#pids[@]} -gt 0 ]; then
        { kill -9 "${pids[@]}"; wait; } 2>/dev/null
    fi
    rm -rf "$tmp"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$tmp/display" 2>"$tmp/xvfb.log" &
for _ in $(seq 200); do
    [ -s "$tmp/display" ] && break
    sleep 0.05
done
[ -s "$tmp/display" ] || fail "Xvfb did not start: $(cat "$tmp/xvfb.log")"
DISPLAY=":$(head -n 1 "$tmp/display")"
export DISPLAY WINEPREFIX="$tmp/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset XAUTHORITY WAYLAND_DISPLAY QT_QPA_PLATFORM
timeout 300 "$wine" wineboot -i >"$tmp/wineboot.log" 2>&1 || fail "no Wine prefix: $(tail -n 5 "$tmp/wineboot.log")"
timeout 60 /usr/lib/wine/wineserver -w

drive="$WINEPREFIX/drive_c"
folder="$drive/My Tools"
mkdir -p "$folder"
(cd "$folder" && cmake -E tar xf "$zip") || fail "cannot unpack $zip"
mapfile -t tops < <(ls -A "$folder")
[ ${#tops[@]} -eq 1 ] || fail "the zip holds ${#tops[@]} entries at its top, expected one folder"
app="$folder/${tops[0]}"
for f in titrova.exe manual/index.html licenses/qt/LGPL-3.0-only.txt licenses/qt/QT-SOURCE.txt; do
    [ -f "$app/$f" ] || fail "the zip lacks $f"
done
dlls=$(find "$app" -iname '*.dll')
[ -z "$dlls" ] || fail "DLLs beside the program: $dlls"
imports=$(x86_64-w64-mingw32-objdump -p "$app/titrova.exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
foreign=$(grep -vE '^(api-ms-win-.*|kernel32|user32|gdi32|shell32|ole32|oleaut32|advapi32|comdlg32|imm32|winmm|ws2_32|uxtheme|dwmapi|version|shlwapi|setupapi|netapi32|userenv|wtsapi32|d3d9|d3d11|d2d1|dwrite|dxgi|uuid|msvcrt|ucrtbase|authz|mpr|winspool\.drv|comctl32|secur32|crypt32|bcrypt|ntdll|shcore)\.dll$' <<<"$imports")
[ -z "$foreign" ] || fail "the program needs DLLs Windows does not bring: $foreign"
ok "the zip holds titrova.exe ($(stat -c %s "$app/titrova.exe") bytes), the manual and the licences; it imports only Windows' own DLLs"
# Explorer's Details tab shows the version resource's strings, stored as UTF-16.
copyright=$(strings -el "$app/titrova.exe" | grep -A1 -x LegalCopyright | tail -n 1)
[[ $copyright =~ ^Copyright\ \(C\)\ 20[0-9][0-9]\ [A-Z] ]] ||
    fail "the version resource's LegalCopyright is \"$copyright\", not a copyright line"
ok "the version resource says $copyright"

win_path() { "$wine" winepath -w "$1" 2>/dev/null | tr -d '\r'; }
# Waits up to 30 s for a visible window captioned exactly $1 and prints it.
window_named() { timeout 30 xdotool search --all --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
windows_named() { xdotool search --all --onlyvisible --name "^$1\$" 2>/dev/null; }
is_dialog() { xprop -id "$1" -notype _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_DIALOG; }
# Waits up to 10 s for the main window: captioned Titrova, and no dialog.
main_window() {
    local w
    for _ in $(seq 100); do
        for w in $(windows_named Titrova); do
            is_dialog "$w" || { echo "$w"; return 0; }
        done
        sleep 0.1
    done
    return 1
}
keys() {
    xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus "$1" 2>/dev/null
    sleep 0.3
    xdotool key "${@:2}"
}
start() {
    "$wine" "$(win_path "$1")" >>"$tmp/program.log" 2>&1 &
    pid=$!
}
# Ends the program through File > Exit and checks that it ends with status 0.
quit() {
    keys "$1" alt+f
    sleep 0.5
    xdotool key Return
    for _ in $(seq 300); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "File > Exit did not end the program"
    wait "$pid"
    local status=$?
    [ $status -eq 0 ] || fail "the program ended with status $status"
}

settings="$app/settings.cfg"
builtins=$(printf '"r_l","raise"\r\n"method","Acid Blend"\r\n"acidUnits","g/L"\r\n"batchunits","U.S. Gal."\r\n"batchSize",5\r\n"blend_t",50\r\n"blend_m",30\r\n"blend_c",20\r\n' | od -An -c)

start "$app/titrova.exe"
box=$(window_named Titrova) || true
[ -n "$box" ] || fail "the first start shows no window: $(tail -n 5 "$tmp/program.log")"
is_dialog "$box" || fail "the first start shows the main window without the missing-settings message"
keys "$box" Return
main=$(main_window) || fail "no main window after the missing-settings message"
[ -e "$settings" ] && fail "settings.cfg was written before any save"
ok "first start: the missing-settings message, then the main window"

dialog=""
for _ in 1 2 3; do
    keys "$main" alt+o
    dialog=$(timeout 5 xdotool search --all --sync --onlyvisible --name '^Default Settings$' 2>/dev/null | head -n 1)
    [ -n "$dialog" ] && break
done
[ -n "$dialog" ] || fail "Alt+O does not open the Default Settings dialog"
keys "$dialog" alt+o
for _ in $(seq 100); do
    [ -e "$settings" ] && break
    sleep 0.1
done
[ -f "$settings" ] || fail "OK in the Default Settings dialog wrote no settings.cfg beside the program"
[ "$(od -An -c "$settings")" = "$builtins" ] ||
    fail "settings.cfg does not hold the built-in defaults:$(printf '\n')$(od -c "$settings")"
ok "OK in Default Settings wrote settings.cfg beside the program: 8 lines, CRLF, the built-in defaults"

# A second copy while the first runs: one message, and it ends.
first_pid=$pid
start "$app/titrova.exe"
second_pid=$pid
refusal=""
for _ in $(seq 300); do
    for w in $(windows_named Titrova); do
        [ "$w" != "$main" ] && is_dialog "$w" && refusal=$w
    done
    [ -n "$refusal" ] && break
    sleep 0.1
done
[ -n "$refusal" ] || fail "a second copy showed no message"
keys "$refusal" Return
for _ in $(seq 300); do
    kill -0 "$second_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$second_pid" 2>/dev/null && fail "the second copy did not end after its message"
ok "a second copy shows its message and ends"
pid=$first_pid
quit "$main"
ok "File > Exit ends the program with status 0"

start "$app/titrova.exe"
first=$(window_named Titrova) || true
[ -n "$first" ] || fail "the second start shows no window"
is_dialog "$first" && fail "the second start shows a message box before the main window"
quit "$first"
[ "$(od -An -c "$settings")" = "$builtins" ] || fail "the second run changed settings.cfg"
ok "second start: the main window at once, no message"

# ---- The installer, for this user only, silently.
timeout 120 "$wine" "$installer" /S >>"$tmp/program.log" 2>&1 || fail "the silent install failed"
timeout 60 /usr/lib/wine/wineserver -w
user_dir=""
for d in "$drive"/users/*/AppData/Local; do
    [ -d "$d" ] && [[ $d != */users/Public/* ]] && { user_dir=$d && break; }
done
installed="$user_dir/Programs/Titrova"
for f in titrova.exe uninstall.exe manual/index.html licenses/qt/LGPL-3.0-only.txt; do
    [ -f "$installed/$f" ] || fail "the installer did not install $f into $installed"
done
menu=$(find "$drive/users" -name 'Titrova.lnk' -path '*Start Menu*' | head -n 1)
[ -n "$menu" ] || fail "no Start-menu shortcut"
reg=$("$wine" reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\org.example.Titrova' 2>/dev/null | tr -d '\r')
grep -q 'DisplayName.*Titrova' <<<"$reg" || fail "no entry in Apps & features: $reg"
ok "the installer puts the program under %LOCALAPPDATA%\\Programs\\Titrova, a Start-menu shortcut and an Apps & features entry"

start "$installed/titrova.exe"
box=$(window_named Titrova) || true
[ -n "$box" ] || fail "the installed program shows no window"
keys "$box" Return
main=$(main_window) || fail "the installed program shows no main window"
keys "$main" alt+o
dialog=$(timeout 5 xdotool search --all --sync --onlyvisible --name '^Default Settings$' 2>/dev/null | head -n 1)
[ -n "$dialog" ] && keys "$dialog" alt+o
for _ in $(seq 100); do
    [ -e "$installed/settings.cfg" ] && break
    sleep 0.1
done
[ -f "$installed/settings.cfg" ] || fail "the installed program cannot save settings.cfg beside itself"
quit "$main"
ok "the installed program starts and saves settings.cfg beside itself"

timeout 120 "$wine" "$installed/uninstall.exe" /S >>"$tmp/program.log" 2>&1 || fail "the silent uninstall failed"
# The uninstaller copies itself away and runs from there: wait for it.
timeout 60 /usr/lib/wine/wineserver -w
left=$(cd "$installed" 2>/dev/null && find . -type f ! -name settings.cfg)
[ -z "$left" ] || fail "the uninstaller left program files: $left"
[ -f "$installed/settings.cfg" ] || fail "the uninstaller removed the user's settings.cfg"
[ -z "$(find "$drive/users" -name 'Titrova.lnk')" ] || fail "the uninstaller left the Start-menu shortcut"
"$wine" reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\org.example.Titrova' >/dev/null 2>&1 &&
    fail "the uninstaller left the Apps & features entry"
ok "the uninstaller removes every program file, the shortcut and the entry, and keeps settings.cfg"

echo "PASS: the Windows program runs under Wine, saves its settings, refuses a second copy, installs and uninstalls"
