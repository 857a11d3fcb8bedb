#!/usr/bin/env bash
# The DirectInput probe (input_wintest.cpp) under Wine, driven with xdotool on a virtual X server of the test's
# own, its transcript compared with input.expected:   input_wintest.sh PREFIX PROBE
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
prefix=$(realpath -m "$1")
e2e_start_x 640x480x24
E2E_WORK=$(mktemp -d)
out=$E2E_WORK/out.txt
: >"$out" # before the first wait looks, which may come before the probe's redirection
("$here/../../scripts/wine-run" "$prefix" "$2" >"$out" 2>"$E2E_WORK/err.txt") &
GAME_PID=$!

# Each step: the number of lines the probe has printed when it is ready for it, then what xdotool does. First
# the pointer's starting point, where the probe waits for it (from elsewhere: only a move tells Wine); Escape
# after a move of (12, -5) and a notch of the wheel forward; a click on the other program's window takes the
# focus away, one on the probe's window brings it back, and with it the keyboard. (Wine does not always
# report the mouse's first move after it gave the focus back, so the mouse is checked before the loss only.)
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
# The probe's console writes Windows line ends.
tr -d '\r' <"$out" | diff -u "$here/input.expected" - || fail "the devices reported otherwise"
