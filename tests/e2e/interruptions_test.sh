#!/usr/bin/env bash
# The real program interrupted the ways a desktop interrupts a game: minimised and restored during play and just
# as Escape starts the teardown, its focus taken away and given back while a key is held, and stopped for a
# second and a half (a long frame). After each it keeps drawing and answering keys, and in the end it exits 0
# with a complete log. Arguments: the brikatan program, its run folder.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
program=$1
run=$2
: "${XCLOSE:?the xclose helper is needed}"

alive() {
    kill -0 "$GAME_PID" 2>/dev/null || fail "the program ended after: $1"
}

# Without a window manager nobody gives the focus back to a restored window; the test does, as one would.
minimise() { xdotool windowunmap "$window"; }
restore() {
    xdotool windowmap --sync "$window"
    xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
    sleep 1
}

# F1 pressed: the program answers with a screenshot within SECONDS (held that long, then released).
expect_screenshot() {
    local seconds=$1 what=$2 deadline
    deadline=$((SECONDS + seconds))
    until [ -s "$E2E_WORK/ekrang.tga" ]; do
        [ $SECONDS -lt "$deadline" ] || fail "no screenshot: $what"
        sleep 0.1
    done
    sleep 0.3
    rm -f "$E2E_WORK/ekrang.tga"
}
shot() {
    xdotool keydown F1
    expect_screenshot 10 "$1"
    xdotool keyup F1
    sleep "$pace"
}

e2e_start_x 640x480x16
e2e_workdir "$run"
e2e_launch "$program"
e2e_answer_box "PEL2D - TEST"
window=$(e2e_game_window)
sleep 1

click_new_game
shot "the first play frame"

# Minimised and restored during play.
minimise
sleep 2
alive "minimised during play"
restore
alive "restored during play"
shot "play after the restore"

# The focus taken away while F1 goes down: the program reads nothing until the focus is back, and then reports
# the held key as newly pressed.
xdotool windowfocus "$(xwininfo -root | awk '/Window id:/ {print $4}')"
sleep 0.5
xdotool keydown F1
sleep 1.5
[ -e "$E2E_WORK/ekrang.tga" ] && fail "a key reached the program while another window had the focus"
xdotool windowfocus "$window"
expect_screenshot 10 "F1 held while the focus came back"
xdotool keyup F1
sleep "$pace"

# A long frame: the program stopped for a second and a half, as a stalled machine would stop it.
kill -STOP "$GAME_PID"
sleep 1.5
kill -CONT "$GAME_PID"
sleep 1
alive "a long frame"
shot "play after the long frame"

# Escape starts the teardown, and the window is minimised at once; restored, the program goes on to the menu and
# from there to a new game.
xdotool keydown Escape
minimise
sleep 1
xdotool keyup Escape
alive "minimised during the teardown"
restore
sleep 1
press_key Escape
click_new_game
alive "a new game after the teardown"
shot "play after the teardown"

"$XCLOSE" "$window"
e2e_wait_exit
[ "$GAME_STATUS" = 0 ] || fail "the program exited with status $GAME_STATUS"
e2e_log_complete || fail "the log is incomplete"
echo "e2e interruptions: passed"
