#!/usr/bin/env bash
# The committed quick demo (start-up, menu, play, Escape's teardown, F12) replayed under valgrind without an
# invalid memory access; a replay waits for nobody, so valgrind only slows it. Arguments: the program, its run folder.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
if ldd "$1" | grep -q 'libasan'; then
    echo "skipped: a sanitizer build does not run under valgrind"
    exit 77
fi
e2e_start_x 640x480x24
e2e_workdir "$2"
# One rendering thread: llvmpipe's workers only add to valgrind's work.
e2e_launch env LP_NUM_THREADS=0 valgrind --error-exitcode=99 --leak-check=no --suppressions="$here/valgrind.supp" -q \
    "$1" --timedemo data/demos/quick.demo
e2e_wait_exit
[ "$GAME_STATUS" = 0 ] || fail "exit status $GAME_STATUS under valgrind: $(grep -v ALSA "$E2E_WORK/stderr.txt")"
e2e_log_complete || fail "the log is incomplete"
