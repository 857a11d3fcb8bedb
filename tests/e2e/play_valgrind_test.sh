#!/usr/bin/env bash
# The whole session of play_test.sh with the program under valgrind: no invalid memory access on the way from
# start-up through a game and back to the exit. Arguments: the brikatan program, its run folder.
here=$(cd "$(dirname "$0")" && pwd)
if ldd "$1" | grep -q 'libasan'; then
    echo "skipped: a sanitizer build does not run under valgrind"
    exit 77
fi
export E2E_WRAPPER="valgrind --error-exitcode=99 --leak-check=no --suppressions=$here/valgrind.supp -q"
export E2E_START_SECONDS=120
export E2E_EXIT_SECONDS=300
export E2E_CHECK_WALL=0
exec "$here/play_test.sh" "$@"
