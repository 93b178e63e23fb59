#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The one place that reads and extends the system's apt sources, so that no script names a
# mirror of its own and none depends on another having run first.
#   apt-sources.sh --ensure-src        source entries for every package entry of the system,
#                                      signed like it, added (and apt updated) when apt has none
#   apt-sources.sh --mirror            the Debian archive the system installs from
#   apt-sources.sh --hosts             the host names of every package entry, one a line
#   apt-sources.sh --fetch DIR PKG [VERSION]
#                                      downloads PKG's source into DIR: VERSION, or else the newest
#                                      version apt knows that can actually be fetched; prints it
set -euo pipefail

# shellcheck source=packaging/lib.sh
. "$(dirname "$0")/../packaging/lib.sh"

# Every package entry as "URI SUITE", from both formats of apt's sources.
entries() {
    local f
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        awk 'function flush() { if (deb) for (u in uris) for (s in suites) print uris[u], suites[s]
                                 deb = 0; delete uris; delete suites }
             /^[ \t]*$/ { flush(); next }
             /^Types:/ { for (i = 2; i <= NF; i++) if ($i == "deb") deb = 1 }
             /^URIs:/ { for (i = 2; i <= NF; i++) uris[i] = $i }
             /^Suites:/ { for (i = 2; i <= NF; i++) suites[i] = $i }
             END { flush() }' "$f"
    done
    one_line_lists | sed -n 's/^deb[ \t]\+\(\[[^]]*\][ \t]\+\)\?\([^ \t]\+\)[ \t]\+\([^ \t]\+\).*/\2 \3/p'
}

# The one-line lists that exist (a fresh system may have none), ours left out.
one_line_lists() {
    local f
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] && [ "${f##*/}" != titrova-src.list ] && cat "$f"
    done
    return 0
}

ensure_src() {
    # Any source index already configured will do.
    [ -z "$(apt-get indextargets 'Created-By: Sources' 2>/dev/null)" ] || return 0
    local f
    for f in /etc/apt/sources.list.d/*.sources; do
        [[ -f $f && ${f##*/} != titrova-src.sources ]] || continue
        sed -n 's/^Types:.*\bdeb\b.*/Types: deb-src/; /^Types: deb-src/,/^$/p' "$f"
        echo
    done | as_root tee /etc/apt/sources.list.d/titrova-src.sources >/dev/null
    local lines
    lines=$(one_line_lists | sed -n 's/^deb\([ \t]\)/deb-src\1/p')
    [ -z "$lines" ] || printf '%s\n' "$lines" | as_root tee /etc/apt/sources.list.d/titrova-src.list >/dev/null
    echo "Added source entries for apt (/etc/apt/sources.list.d/titrova-src.*)" >&2
    as_root apt-get update -qq >&2
    [ -n "$(apt-get indextargets 'Created-By: Sources' 2>/dev/null)" ] ||
        { echo "apt still has no source entries" >&2; exit 1; }
}

mirror() {
    local codename uri
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    # The main archive: the entry for the release itself, not its -updates or -security.
    uri=$(entries | awk -v s="$codename" '$2 == s && !u { u = $1 } END { print u }')
    [ -n "$uri" ] || uri=$(entries | awk '$1 !~ /security/ && !u { u = $1 } END { print u }')
    [ -n "$uri" ] || { echo "no Debian archive in apt's sources" >&2; exit 1; }
    echo "${uri%/}"
}

fetch() {
    local dir=$1 package=$2 wanted=${3:-} versions v
    ensure_src
    if [ -n "$wanted" ]; then
        versions=$wanted
    else
        versions=$(apt-cache showsrc "$package" 2>/dev/null | sed -n 's/^Version: //p' |
            sort -Vru) || true
    fi
    [ -n "$versions" ] || { echo "no source of $package known to apt" >&2; exit 1; }
    mkdir -p "$dir"
    for v in $versions; do
        # A suite may list a version whose files its mirror does not serve: try the next.
        if (cd "$dir" && apt-get source -qq --download-only "$package=$v" >&2); then
            echo "$v"
            return 0
        fi
        echo "$package $v cannot be fetched; trying an older version" >&2
        rm -f "$dir"/*
    done
    echo "no version of $package's source could be fetched" >&2
    exit 1
}

case ${1:-} in
--ensure-src) ensure_src ;;
--mirror) mirror ;;
--hosts) entries | sed -n 's|^[a-z+]*://\([^/ :]*\).*|\1|p' | sort -u ;;
--fetch) shift; fetch "$@" ;;
*) echo "usage: apt-sources.sh --ensure-src | --mirror | --hosts | --fetch DIR PACKAGE [VERSION]" >&2; exit 2 ;;
esac
