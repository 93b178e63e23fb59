#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the build needs, and only those that are missing, so a
# second run is quick and silent. Usage: scripts/deps.sh [extra packages...]
set -euo pipefail

packages=(build-essential cmake qt6-base-dev qt6-base-dev-tools libgl-dev fonts-liberation "$@")
native=$(dpkg --print-architecture)
missing=()
for p in "${packages[@]}"; do
    # A name without ":arch" is the host's own: dpkg-query also answers for the same package
    # of another architecture (an arm64 Qt beside the amd64 one), which would not do.
    archs="$native|all"
    [[ $p == *:* ]] && archs=${p##*:}
    if ! dpkg-query -W -f='${db:Status-Abbrev}${Architecture}\n' "$p" 2>/dev/null |
        grep -qE "^ii +($archs)\$"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
# shellcheck source=packaging/lib.sh
. "$(dirname "$0")/../packaging/lib.sh"
export DEBIAN_FRONTEND=noninteractive

# On a fresh desktop the system's own updates often hold the package locks for a while:
# wait for them, up to a few minutes, instead of failing at once.
wait_minutes=5
waited=no
apt_waiting() {
    local deadline=$((SECONDS + wait_minutes * 60)) out status
    while :; do
        status=0
        out=$(as_root apt-get -o DPkg::Lock::Timeout=10 "$@" 2>&1) || status=$?
        if [ $status -eq 0 ] || ! grep -qE 'Could not get lock|Unable to acquire|Unable to lock' <<<"$out" ||
            [ $SECONDS -ge $deadline ]; then
            [ $status -eq 0 ] || [ -z "$out" ] || printf '%s\n' "$out" >&2
            return $status
        fi
        if [ $waited = no ]; then
            echo "The package manager is busy (another installation or update is running);" \
                "waiting up to $wait_minutes minutes for it to finish."
            waited=yes
        fi
        sleep 5
    done
}
apt_waiting update -qq
apt_waiting install -y -qq --no-install-recommends "${missing[@]}"
