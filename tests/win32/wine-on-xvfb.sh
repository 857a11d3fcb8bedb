#!/usr/bin/env bash
# Runs a Windows program under Wine on a virtual X server of its own, its output compared with a transcript if
# one is given:   wine-on-xvfb.sh WIDTHxHEIGHTxDEPTH PREFIX [--expect TRANSCRIPT] PROGRAM [ARGS...]
# The programs that draw share one Wine prefix, not the unit tests' one: Wine's desktop process belongs to the
# X server of the program that started it. So they run one at a time (the tests' RESOURCE_LOCK), and each
# session ends here, with its last program, before its X server goes.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
screen=$1
WINEPREFIX=$(realpath -m "$2")
export WINEPREFIX root
shift 2
# shellcheck disable=SC2016 # expanded by the inner shell
run() { "$root/tests/support/with-xvfb.sh" "$screen" bash -c \
    'status=0; "$root/scripts/wine-run" "$WINEPREFIX" "$@" || status=$?; wineserver -w; exit $status' run "$@"; }
[ "$1" = --expect ] || { run "$@"; exit; }
expected=$2
shift 2
run "$@" | tr -d '\r' | diff -u "$expected" -
