#!/usr/bin/env bash
# The real program on a virtual screen: its notice box, full screen where the display offers 640 x 480 x 16,
# the windowed fallback where it does not, presented frames, and a clean exit when the window is closed.
# Arguments: the brikatan program, its run folder.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
program=$1
run=$2
: "${XCLOSE:?the xclose helper is needed}"

# A screen of exactly the game's mode: full screen after the notice.
e2e_start_x 640x480x16
e2e_workdir "$run"
e2e_launch "$program"
e2e_answer_box "PEL2D - TEST"
window=$(e2e_game_window)
xwininfo -id "$window" | grep -q 'Width: 640' || fail "the full-screen window is not 640 wide"
xwininfo -root -tree | grep -q '"ERROR"' && fail "the full-screen switch asked for the fallback"
sleep 1
"$XCLOSE" "$window"
e2e_wait_exit
[ "$GAME_STATUS" = 0 ] || fail "the program exited with status $GAME_STATUS"
e2e_log_complete || fail "the log is incomplete"
grep -q 'Ekran kartinin destekledigi Extension : GL_ARB_multitexture' "$E2E_WORK/pel3dlog.htm" ||
    fail "the multitexture check is missing from the log"
e2e_stop_x
rm -rf "$E2E_WORK"

# A larger screen has no 640 x 480 mode: the fallback question, answered Yes (Return), opens a window.
e2e_start_x 1024x768x24
e2e_workdir "$run"
e2e_launch "$program"
e2e_answer_box "PEL2D - TEST"
e2e_answer_box "ERROR"
window=$(e2e_game_window)
xwininfo -id "$window" | grep -q 'Width: 640' || fail "the window's client area is not 640 wide"
xwininfo -id "$window" | grep -q 'Height: 480' || fail "the window's client area is not 480 high"
# Frames are presented: the window comes to show the menu frame (start-up loads every image after the window
# opens, which takes a while on a loaded machine), not an empty black screen.
e2e_wait_frame "$window" || fail "the window shows no drawn frame"
"$XCLOSE" "$window"
e2e_wait_exit
[ "$GAME_STATUS" = 0 ] || fail "the windowed program exited with status $GAME_STATUS"
e2e_log_complete || fail "the windowed run's log is incomplete"
echo "e2e startup: passed"
