#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Adds Titrova to the current user's application menu, with its icon and metainfo, pointing
# at the program in this folder; --remove takes them away again. Nothing outside the
# user's data folder is touched, and the folder itself stays where it is.
# Usage: register.sh [--remove]
set -eu

id=org.example.Titrova
data=${XDG_DATA_HOME:-$HOME/.local/share}
sizes="16 32 48 64 128 256"

here=$(cd -P -- "$(dirname -- "$0")" && pwd -P)

refresh_menus() {
    # Menus watch these folders; the tools only speed things up where they exist.
    if [ -d "$data/icons/hicolor" ]; then
        touch "$data/icons/hicolor" 2>/dev/null || true
    fi
    if [ -d "$data/applications" ] && command -v update-desktop-database >/dev/null 2>&1; then
        update-desktop-database -q "$data/applications" 2>/dev/null || true
    fi
}

# Our folders, deepest first: removed when they are left empty.
folders() {
    for s in $sizes; do
        printf '%s\n' "icons/hicolor/${s}x$s/apps" "icons/hicolor/${s}x$s"
    done
    printf '%s\n' icons/hicolor/scalable/apps icons/hicolor/scalable icons/hicolor icons \
        metainfo applications
}

remove() {
    rm -f "$data/applications/$id.desktop" "$data/metainfo/$id.metainfo.xml" \
        "$data/icons/hicolor/scalable/apps/$id.svg"
    for s in $sizes; do
        rm -f "$data/icons/hicolor/${s}x$s/apps/$id.png"
    done
    refresh_menus
    # A desktop database beside no entry at all is only what registering left.
    apps=$data/applications
    if [ -d "$apps" ] && [ -z "$(ls -A "$apps" | grep -vx mimeinfo.cache)" ]; then
        rm -f "$apps/mimeinfo.cache"
    fi
    folders | while read -r f; do rmdir "$data/$f" 2>/dev/null || true; done
    # The data folder itself only when it is the default one, which registering may have made.
    if [ -z "${XDG_DATA_HOME:-}" ]; then
        { rmdir "$HOME/.local/share" && rmdir "$HOME/.local"; } 2>/dev/null || true
    fi
    echo "Titrova removed from the application menu."
}

# A desktop entry's Exec value: the path in double quotes, with the characters that quoting
# reserves escaped, then every backslash doubled for the string value, and % doubled.
exec_value() {
    printf '"%s"' "$(printf '%s' "$1" | sed -e 's/[\\"`$]/\\&/g' -e 's/\\/\\\\/g' -e 's/%/%%/g')"
}

# TryExec is a plain string value: only the backslash is escaped.
string_value() {
    printf '%s' "$1" | sed -e 's/\\/\\\\/g'
}

register() {
    program=$here/titrova
    [ -x "$program" ] || { echo "register.sh: $program is missing" >&2; exit 1; }
    case $program in
        *"
"*) echo "register.sh: the folder's path holds a line break; move the folder" >&2; exit 1 ;;
    esac

    mkdir -p "$data/applications" "$data/metainfo" "$data/icons/hicolor/scalable/apps"
    for s in $sizes; do
        mkdir -p "$data/icons/hicolor/${s}x$s/apps"
        cp -f "$here/icons/hicolor/${s}x$s/apps/$id.png" "$data/icons/hicolor/${s}x$s/apps/"
    done
    cp -f "$here/icons/hicolor/scalable/apps/$id.svg" "$data/icons/hicolor/scalable/apps/"
    cp -f "$here/$id.metainfo.xml" "$data/metainfo/"

    # Written beside its final name and moved in, so a menu never reads half a file.
    entry=$data/applications/$id.desktop
    # Only the main group's: the actions open web links.
    EXEC=$(exec_value "$program") TRYEXEC=$(string_value "$program") awk '
        /^\[/ { main = ($0 == "[Desktop Entry]") }
        main && /^Exec=/    { print "Exec=" ENVIRON["EXEC"]; next }
        main && /^TryExec=/ { print "TryExec=" ENVIRON["TRYEXEC"]; next }
        { print }' "$here/$id.desktop" >"$entry.new"
    mv -f "$entry.new" "$entry"

    refresh_menus
    echo "Titrova added to the application menu: $entry"
}

case ${1:-} in
    "") register ;;
    --remove) remove ;;
    -h | --help) echo "Usage: register.sh [--remove]" ;;
    *) echo "register.sh: unknown option $1 (use --remove or nothing)" >&2; exit 2 ;;
esac
