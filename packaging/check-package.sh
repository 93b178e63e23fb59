#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The package as a user meets it: unpacked into a fresh folder whose path holds a blank,
# started twice on an X display (the first start falls back to the built-in defaults, the
# Default Settings dialog saves them, the second start reads them silently), and registered
# with the desktop and removed again for a throw-away user.
# Usage: check-package.sh <titrova-*.tar.gz>
set -uo pipefail

archive=$(realpath "$1")
id=org.example.Titrova
sizes="16 32 48 64 128 256"

# shellcheck source=packaging/lib.sh
. "$(dirname "$0")/lib.sh"
work_folder "${TMPDIR:-/tmp}"
start_x

# ---- Contents
folder="$tmp/my programs"
mkdir -p "$folder" "$tmp/home" "$tmp/runtime"
chmod 700 "$tmp/runtime"
tar -xzf "$archive" -C "$folder" || fail "cannot unpack $archive"
mapfile -t tops < <(ls -A "$folder")
[ ${#tops[@]} -eq 1 ] || fail "the archive holds ${#tops[@]} entries at its top, expected one folder"
app="$folder/${tops[0]}"

# What the folder brings to run without Qt installed; the minimal-system check runs it.
mapfile -t bundled < <(cd "$app" && find lib licenses -type f 2>/dev/null)
expected=(titrova register.sh "$id.desktop" "$id.metainfo.xml" qt.conf "${bundled[@]}"
    plugins/platforms/libqxcb.so plugins/platforms/libqwayland-generic.so
    plugins/wayland-shell-integration/libxdg-shell.so plugins/wayland-decoration-client/libbradient.so
    plugins/platformthemes/libqgtk3.so plugins/platformthemes/libqxdgdesktopportal.so
    fonts/LiberationSans-Regular.ttf
    "icons/hicolor/scalable/apps/$id.svg")
for s in $sizes; do expected+=("icons/hicolor/${s}x$s/apps/$id.png"); done
manual=(manual/index.html manual/manual.css manual/images/main.png manual/images/options.png
    manual/images/about.png)
expected+=("${manual[@]}")
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$app" && find . -type f -printf '%P\n' | sort) ||
    fail "the folder does not hold exactly the expected files (< expected, > found)"
for f in titrova register.sh; do
    [ -x "$app/$f" ] || fail "$f is not executable"
done
path=$(readelf -d "$app/titrova" | grep -E 'RPATH|RUNPATH')
# shellcheck disable=SC2016 # the loader's $ORIGIN, literally
[[ $path == *'(RPATH)'*'[$ORIGIN/lib]' ]] || fail "the program does not look in its own lib/ first: $path"
[ -f "$app/lib/libQt6Core.so.6" ] || fail "the folder holds no Qt"
foreign=$(ldd "$app/titrova" | grep -E 'libQt6|libicu' | grep -vF "$app/lib/")
[ -z "$foreign" ] || fail "Qt comes from outside the folder: $foreign"
! ldd "$app/titrova" | grep -q 'not found' || fail "libraries not found: $(ldd "$app/titrova" | grep 'not found')"
ok "the folder holds the program, register.sh, the entry, the metainfo, ${sizes// /, } px and SVG icons, the manual"

# The floor the README states (Ubuntu 22.04 LTS): no symbol version newer than these, in any
# ELF file of the folder.
floor=(GLIBC 2.35 GLIBCXX 3.4.30)
too_new="" highest=""
while IFS= read -r -d '' f; do
    [ "$(head -c 4 "$f" | od -An -tx1 | tr -d ' ')" = 7f454c46 ] || continue
    for v in $(objdump -T "$f" | grep -oE '\b(GLIBC|GLIBCXX)_[0-9][0-9.]*' | sort -u); do
        name=${v%%_*} number=${v#*_}
        limit=${floor[1]}
        [ "$name" = GLIBCXX ] && limit=${floor[3]}
        [ "$(printf '%s\n' "$number" "$limit" | sort -V | tail -n 1)" = "$limit" ] ||
            too_new+=" ${f#"$app"/}:$v"
        highest+="$v"$'\n'
    done
done < <(find "$app" -type f -print0)
[ -z "$too_new" ] || fail "symbol versions above ${floor[0]}_${floor[1]} or ${floor[2]}_${floor[3]}:$too_new"
highest=$(for n in GLIBC GLIBCXX; do grep "^${n}_" <<<"$highest" | sort -V | tail -n 1; done | tr '\n' ' ')
ok "no ELF file of the folder needs more than ${floor[0]}_${floor[1]} and ${floor[2]}_${floor[3]} (highest: $highest)"

# ---- Two starts
export QT_QPA_PLATFORM=xcb HOME="$tmp/home" XDG_RUNTIME_DIR="$tmp/runtime"
mkdir -p "$tmp/bin"
cat >"$tmp/bin/xdg-open" <<EOF
#!/bin/sh
printf %s "\$1" >"$tmp/opened"
EOF
chmod +x "$tmp/bin/xdg-open"
export PATH="$tmp/bin:$PATH"
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION
unset XDG_DATA_HOME XDG_CONFIG_HOME

settings="$app/settings.cfg"
start() {
    "$app/titrova" &
    pid=$!
}
cd "$tmp" || fail "cannot enter $tmp"
first_start start
past_message
ok "first start: the missing-settings message, then the main window"
save_defaults
ok "OK in Default Settings wrote settings.cfg beside the program: 8 lines, CRLF, the built-in defaults"
quit "$main"
ok "File > Exit ends the program with status 0"

second_start start

# Help > Titrova Manual hands the manual beside the program to the desktop (here a stand-in
# xdg-open that notes what it is given); once the manual is deleted, nothing happens.
opened="$tmp/opened"
manual "$first"
sleep 1
[ "$(cat "$opened" 2>/dev/null)" = "file://${app// /%20}/manual/index.html" ] ||
    fail "Help > Titrova Manual did not open the manual beside the program: $(cat "$opened" 2>/dev/null)"
rm -f "$opened"
mv "$app/manual" "$tmp/manual"
manual "$first"
sleep 1
[ -e "$opened" ] && fail "Help > Titrova Manual handed a deleted manual to the desktop"
[ "$(search)" = "$first" ] || fail "Help > Titrova Manual without the manual showed a window"
mv "$tmp/manual" "$app/manual"
ok "Help > Titrova Manual opens manual/index.html beside the program; without it, nothing happens"
quit "$first"
cmp -s "$defaults" "$settings" || fail "the second run changed settings.cfg"
ok "second start: the main window at once, no message"

# The desktop's theme through the folder's own plugins; GTK itself is the system's.
for theme in gtk3 xdgdesktopportal; do
    QT_QPA_PLATFORMTHEME=$theme GTK_THEME=Adwaita:dark "$app/titrova" &
    pid=$!
    first=$(first_window) || fail "no window with the $theme theme"
    maps=$(libraries "$pid")
    grep -qxF "$app/plugins/platformthemes/libq$theme.so" <<<"$maps" ||
        fail "the $theme theme is not the folder's plugin"
    if [ $theme = gtk3 ]; then
        gtk=$(grep '/libgtk-3\.so' <<<"$maps")
        { [ -n "$gtk" ] && [[ $gtk != "$app"/* ]]; } || fail "GTK is not the system's: ${gtk:-none}"
    fi
    quit "$first"
done
ok "the gtk3 and xdgdesktopportal themes load from the folder, GTK from the system"

# ---- Desktop registration for a throw-away user
data="$HOME/.local/share"
entry="$data/applications/$id.desktop"
installed=("$entry" "$data/metainfo/$id.metainfo.xml" "$data/icons/hicolor/scalable/apps/$id.svg")
for s in $sizes; do installed+=("$data/icons/hicolor/${s}x$s/apps/$id.png"); done

# Every path with its type and mode: what --remove must give back.
home_tree() { (cd "$HOME" && find . -printf '%y %m %p\n' | sort); }
home_before=$(home_tree)
out=$("$app/register.sh" 2>&1) || fail "register.sh failed: $out"
for f in "${installed[@]}"; do
    [ -f "$f" ] || fail "register.sh did not install ${f#"$HOME"/}"
done
for s in $sizes; do
    cmp -s "$app/icons/hicolor/${s}x$s/apps/$id.png" "$data/icons/hicolor/${s}x$s/apps/$id.png" ||
        fail "the ${s} px icon differs from the package's"
done
grep -qxF "Exec=\"$app/titrova\"" "$entry" ||
    fail "Exec= does not name the program by its absolute path, quoted: $(grep '^Exec=' "$entry")"
grep -qxF "TryExec=$app/titrova" "$entry" || fail "TryExec= does not name the program: $(grep '^TryExec=' "$entry")"
[ "$(grep -c "^Exec=xdg-open " "$entry")" -eq 2 ] || fail "the entry's web and mail actions were not kept"
[ "$(grep -vE '^(Exec|TryExec)=' "$entry")" = "$(grep -vE '^(Exec|TryExec)=' "$app/$id.desktop")" ] ||
    fail "register.sh changed more than Exec= and TryExec="
if command -v desktop-file-validate >/dev/null; then
    msg=$(desktop-file-validate "$entry" | grep -v ': hint: ' || true)
    [ -z "$msg" ] || fail "registered entry: $msg"
fi
ok "register.sh installs the entry (Exec=\"…/my programs/…/titrova\"), the metainfo and the icons"

# Registering again from elsewhere, through a relative path, gives the same entry.
before=$(cat "$entry")
(cd "$folder" && "./${tops[0]}/register.sh" >/dev/null) || fail "register.sh by a relative path failed"
[ "$(cat "$entry")" = "$before" ] || fail "registering by a relative path wrote another Exec="

out=$("$app/register.sh" --remove 2>&1) || fail "register.sh --remove failed: $out"
for f in "${installed[@]}"; do
    [ -e "$f" ] && fail "register.sh --remove left ${f#"$HOME"/}"
done
left=$(diff <(echo "$home_before") <(home_tree))
[ -z "$left" ] || fail "register.sh --remove did not restore the home folder (< before, > after):
$left"
ok "register.sh --remove takes everything away again, folders included"

# A home with menus of its own: they stay as they were, and no cache is left behind.
mkdir -p "$data/applications" "$data/icons/hicolor/48x48/apps"
printf '[Desktop Entry]\nType=Application\nName=Other\nExec=other\n' >"$data/applications/other.desktop"
home_before=$(home_tree)
"$app/register.sh" >/dev/null || fail "register.sh beside another entry failed"
"$app/register.sh" --remove >/dev/null || fail "register.sh --remove beside another entry failed"
left=$(diff <(echo "$home_before") <(home_tree))
[ -z "$left" ] || fail "register.sh --remove changed a home with its own entries (< before, > after):
$left"
ok "register.sh --remove leaves a home's own entries and folders as they were"

# Removing twice, or without registering, creates nothing.
"$app/register.sh" --remove >/dev/null || fail "a second register.sh --remove failed"
[ "$(home_tree)" = "$home_before" ] || fail "a second register.sh --remove changed the home folder"

echo "PASS: the package unpacks, runs, saves its settings and registers with the desktop"
