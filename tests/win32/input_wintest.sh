#!/usr/bin/env bash
# The DirectInput keyboard and mouse under Wine, driven with xdotool on a virtual X server of the test's own:
#   input_wintest.sh PREFIX PROBE
# PREFIX is the Wine prefix of the programs that draw, which run one at a time (wine-on-xvfb.sh). Each step
# waits for the probe's answer (input_wintest.cpp) before the next; the whole transcript is compared at the
# end.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/lib.sh"
prefix=$(realpath -m "$1")
probe=$2

e2e_start_x 640x480x24
E2E_WORK=$(mktemp -d)
out=$E2E_WORK/out.txt
# Made here, not by the probe's redirection, which a loaded machine may run after the first wait has looked.
: >"$out"
("$here/../../scripts/wine-run" "$prefix" "$probe" >"$out" 2>"$E2E_WORK/err.txt") &
GAME_PID=$!

# wait_lines N: until the probe has printed N lines; fails if it ends first.
wait_lines() {
    while [ "$(wc -l <"$out")" -lt "$1" ]; do
        kill -0 "$GAME_PID" 2>/dev/null || fail "the probe ended early: $(cat "$out" "$E2E_WORK/err.txt")"
        sleep 0.1
    done
}

wait_lines 3
# The pointer's starting point, where the probe waits for it (from elsewhere: only a move tells Wine).
xdotool mousemove 300 200 mousemove 320 240
wait_lines 4
# Escape goes down after a move of (12, -5) and one notch of the wheel forward.
xdotool mousemove 332 235 click 4 keydown Escape
wait_lines 5
xdotool keydown a
wait_lines 6
xdotool mousemove 300 255 keyup Escape
wait_lines 7
xdotool keyup a
wait_lines 8
# A click on the other program's window takes the focus away, one on the probe's window brings it back.
xdotool mousemove 560 420 click 1
wait_lines 10
xdotool mousemove 100 100 click 1
wait_lines 11
# Back with the focus, the keyboard reads again. (Wine does not always report the mouse's first move after it
# gave the focus back, so the mouse is checked before the loss only.)
xdotool keydown F12
wait "$GAME_PID" || fail "the probe failed: $(cat "$out" "$E2E_WORK/err.txt")"
GAME_PID=
# The Wine session ends before its X server does.
WINEPREFIX=$prefix wineserver -w

# The probe's console writes Windows line ends.
tr -d '\r' <"$out" >"$out.unix"
diff -u - "$out.unix" <<'EOF' || fail "the devices reported otherwise"
keyboard type 3, mouse type 2, first keyboard enumerated type 3
mouse range DI_OK, dead zone DI_OK, keyboard range DIERR_OBJECTNOTFOUND
second interface DI_OK, poll DIERR_NOTACQUIRED, references 1, DIERR_NOINTERFACE
ready, acquiring again DI_NOEFFECT
keys 01=80 moved 12 -5 wheel 120
keys 01=80 1E=80 moved 0 0 wheel 0
keys 1E=80 moved -32 20 wheel 0
keys moved 0 0 wheel 0
lost: keyboard DIERR_NOTACQUIRED, mouse DIERR_NOTACQUIRED
refused: keyboard DIERR_OTHERAPPHASPRIO, mouse DIERR_OTHERAPPHASPRIO
back
keys 58=80 moved 0 0 wheel 0
bye: unacquire DI_OK DI_NOEFFECT, references left 0 0 0
EOF
