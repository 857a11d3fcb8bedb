#!/usr/bin/env bash
# Runs a Windows program under Wine on a virtual X server of its own:
#   wine-on-xvfb.sh WIDTHxHEIGHTxDEPTH PREFIX PROGRAM [ARGS...]
# The programs that draw share one Wine prefix, not the unit tests' one: Wine's desktop process belongs to the
# X server of the program that started it. So they run one at a time (the tests' RESOURCE_LOCK), and each
# waits here until its Wine session has ended before its X server goes.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
screen=$1
prefix=$(realpath -m "$2")
shift 2
export WINEPREFIX=$prefix

run() {
    status=0
    "$root/scripts/wine-run" "$prefix" "$@" || status=$?
    # The session ends with its last program; no server lingers for the next test's screen.
    WINEPREFIX=$prefix wineserver -w
    return $status
}
export -f run
export root prefix
"$root/tests/support/with-xvfb.sh" "$screen" bash -c 'run "$@"' run "$@"
