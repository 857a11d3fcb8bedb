#!/usr/bin/env bash
# A Windows program under Wine on an X server of its own, its output compared with any transcript given:
#   wine-on-xvfb.sh WIDTHxHEIGHTxDEPTH PREFIX [--expect TRANSCRIPT] PROGRAM [ARGS...]
# Wine's desktop process belongs to the X server it started on: the session ends here, before the server goes.
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
