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

# Wine's windows are found by caption, and every wait is twice as long.
by_pid=no slow=2
# shellcheck source=packaging/lib.sh
. "$(dirname "$0")/../lib.sh"
work_folder "${TMPDIR:-/tmp}"
start_x
export WINEPREFIX="$tmp/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset QT_QPA_PLATFORM
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
imports=$(x86_64-w64-mingw32-objdump -p "$app/titrova.exe" | sed -n 's/^\s*DLL Name: //p' | tr '[:upper:]' '[:lower:]' | sort -u)
foreign=$(grep -vE '^(api-ms-win-.*|kernel32|user32|gdi32|shell32|ole32|oleaut32|advapi32|comdlg32|imm32|winmm|ws2_32|uxtheme|dwmapi|version|shlwapi|setupapi|netapi32|userenv|wtsapi32|d3d9|d3d11|d2d1|dwrite|dxgi|uuid|msvcrt|ucrtbase|authz|mpr|winspool\.drv|comctl32|secur32|crypt32|bcrypt|ntdll|shcore)\.dll$' <<<"$imports")
[ -z "$foreign" ] || fail "the program needs DLLs Windows does not bring: $foreign"
ok "the zip holds titrova.exe ($(stat -c %s "$app/titrova.exe") bytes), the manual and the licences; it imports only Windows' own DLLs"
# Explorer's Details tab shows the version resource's strings, stored as UTF-16.
copyright=$(strings -el "$app/titrova.exe" | grep -A1 -x LegalCopyright | tail -n 1)
[[ $copyright =~ ^Copyright\ \(C\)\ 20[0-9][0-9]\ [A-Z] ]] ||
    fail "the version resource's LegalCopyright is \"$copyright\", not a copyright line"
ok "the version resource says $copyright"

win_path() { "$wine" winepath -w "$1" 2>/dev/null | tr -d '\r'; }
log="$tmp/program.log"
start() {
    "$wine" "$(win_path "$1")" >>"$log" 2>&1 &
    pid=$!
}
settings="$app/settings.cfg"
first_start start "$app/titrova.exe"
past_message
ok "first start: the missing-settings message, then the main window"
save_defaults
ok "OK in Default Settings wrote settings.cfg beside the program: 8 lines, CRLF, the built-in defaults"

# A second copy while the first runs: one message, and it ends.
first_pid=$pid
start "$app/titrova.exe"
second_pid=$pid
refusal=""
for _ in $(seq 300); do
    for w in $(named Titrova); do
        [ "$w" != "$main" ] && ! is_main "$w" && refusal=$w
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

second_start start "$app/titrova.exe"
quit "$first"
cmp -s "$defaults" "$settings" || fail "the second run changed settings.cfg"
ok "second start: the main window at once, no message"

# ---- The installer, for this user only, silently.
timeout 120 "$wine" "$installer" /S >>"$log" 2>&1 || fail "the silent install failed"
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

settings="$installed/settings.cfg"
first_start start "$installed/titrova.exe"
past_message
save_defaults
quit "$main"
ok "the installed program starts and saves settings.cfg beside itself"

timeout 120 "$wine" "$installed/uninstall.exe" /S >>"$log" 2>&1 || fail "the silent uninstall failed"
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
