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
    # Menus watch the applications folder themselves; icon caches look at the theme folder's
    # time. No desktop database: the entry opens no file types, so it would only leave a cache.
    if [ -d "$data/icons/hicolor" ]; then
        touch "$data/icons/hicolor" 2>/dev/null || true
    fi
}

# Every folder registering needs, deepest first, up to the home folder.
folders() {
    for s in $sizes; do
        printf '%s\n' "$data/icons/hicolor/${s}x$s/apps" "$data/icons/hicolor/${s}x$s"
    done
    printf '%s\n' "$data/icons/hicolor/scalable/apps" "$data/icons/hicolor/scalable" \
        "$data/icons/hicolor" "$data/icons" "$data/metainfo" "$data/applications"
    d=$data
    while [ "$d" != "$HOME" ] && [ "$d" != / ] && [ "$d" != . ]; do
        printf '%s\n' "$d"
        d=$(dirname -- "$d")
    done
}

# The folders the first registration made, so that removing takes away those and only those.
made=$data/applications/.$id.folders

remove() {
    rm -f "$data/applications/$id.desktop" "$data/metainfo/$id.metainfo.xml" \
        "$data/icons/hicolor/scalable/apps/$id.svg"
    for s in $sizes; do
        rm -f "$data/icons/hicolor/${s}x$s/apps/$id.png"
    done
    refresh_menus
    if [ -f "$made" ]; then
        list=$(cat "$made")
        rm -f "$made"
        # A folder the user has put something into since stays.
        printf '%s\n' "$list" | while read -r f; do
            [ -z "$f" ] || rmdir "$f" 2>/dev/null || true
        done
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

    missing=$(folders | while read -r f; do [ -d "$f" ] || printf '%s\n' "$f"; done)
    mkdir -p "$data/applications" "$data/metainfo" "$data/icons/hicolor/scalable/apps"
    # Registering again keeps the first list: by now every folder exists.
    [ -e "$made" ] || printf '%s' "$missing" >"$made"
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
