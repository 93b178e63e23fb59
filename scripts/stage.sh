# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Sourced by the check scripts. stage <name> <command...> runs one stage, says how long it
# took (a line "-- <name> <seconds> s <result>"), and adds that line to the file
# $TITROVA_STAGES names, when set: .ci/run prints those lines at its end, so every log shows
# where the time went.
stage() {
    local name=$1 start=$SECONDS status line
    shift
    echo "== $name"
    # A subshell outside any "||", so that errexit holds inside the stage's own functions.
    set +e
    (
        set -e
        "$@"
    )
    status=$?
    set -e
    line=$(printf '%-44s %5d s  %s' "$name" $((SECONDS - start)) \
        "$([ $status -eq 0 ] && echo PASS || echo "FAIL ($status)")")
    echo "-- $line"
    [ -z "${TITROVA_STAGES:-}" ] || echo "$line" >>"$TITROVA_STAGES"
    [ $status -eq 0 ] || echo "FAIL: $name" >&2
    return $status
}
