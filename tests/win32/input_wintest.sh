#!/usr/bin/env bash
# The DirectInput probe under Wine, driven with xdotool, its transcript compared: input_wintest.sh PREFIX PROBE
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
prefix=$(realpath -m "$1")
e2e_start_x 640x480x24
E2E_WORK=$(mktemp -d)
out=$E2E_WORK/out.txt
: >"$out" # before the first wait looks, which may come before the probe's redirection
("$here/../../scripts/wine-run" "$prefix" "$2" >"$out" 2>"$E2E_WORK/err.txt") &
GAME_PID=$!

# Each step: the lines printed when the probe is ready for it, then xdotool's commands. The pointer comes to its
# start from elsewhere (only a move tells Wine); clicks on the other window and back take the focus away and
# return it (the mouse is checked before the loss only: Wine may drop its first move after a return).
steps=("3 mousemove 300 200 mousemove 320 240" "4 mousemove 332 235 click 4 keydown Escape" "5 keydown a"
    "6 mousemove 300 255 keyup Escape" "7 keyup a" "8 mousemove 560 420 click 1" "10 mousemove 100 100 click 1"
    "11 keydown F12")
for step in "${steps[@]}"; do
    while [ "$(wc -l <"$out")" -lt "${step%% *}" ]; do
        kill -0 "$GAME_PID" 2>/dev/null || fail "the probe ended early: $(cat "$out" "$E2E_WORK/err.txt")"
        sleep 0.1
    done
    # shellcheck disable=SC2086 # the step's words are xdotool's commands
    xdotool ${step#* }
done
wait "$GAME_PID" || fail "the probe failed: $(cat "$out" "$E2E_WORK/err.txt")"
GAME_PID=
WINEPREFIX=$prefix wineserver -w # the Wine session ends before its X server
tr -d '\r' <"$out" | diff -u "$here/input.expected" - || fail "the devices reported otherwise"
