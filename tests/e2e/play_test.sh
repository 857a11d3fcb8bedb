#!/usr/bin/env bash
# A whole session as a player plays it: the notice box, the menu's new-game item clicked with the mouse, the paddle
# moved and grown, a screenshot of play, Escape back to the menu, F12 to leave. Then the exit status, the log and
# the screenshots are checked. In a window, the mouse also moves the paddle however far past the window's edge it
# goes. Arguments: the brikatan program, its run folder, the screen kind (lib.sh; window when not given).
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
program=$1
run=$2
e2e_screen "${3:-window}"

brightest() {
    convert "$E2E_WORK/$1.tga" -format '%[fx:int(255*maxima)]' info:
}

e2e_start_screen
e2e_workdir "$run"
e2e_launch "$program"
e2e_answer_start
# Start-up is over, and the mouse read, once a frame answers a key.
e2e_screenshot started

move_mouse -400 -400
move_mouse 150 110
e2e_screenshot menu
[ "$(brightest menu)" -gt 64 ] || fail "the menu screenshot is dark"
click

# In a window the mouse moves the paddle however far past the window's edge it goes. With the paddle at the left
# wall and the focus away (the pointer then leaves the window freely), the pointer is put just inside the right
# edge; with the focus back the mouse is pushed far right: the paddle must reach the right wall, x 566 to 630,
# where the paddle's rows in cells of 10 pixels from the left wall are lit up to the last one.
if [ "$E2E_KIND" = window ]; then
    move_mouse -700 0
    xdotool windowfocus "$(xwininfo -root | awk '/Window id:/ {print $4}')"
    until xdotool mousemove 900 300 && [ "$(xdotool getmouselocation | cut -d' ' -f1)" = x:900 ]; do
        kill -0 "$GAME_PID" 2>/dev/null || fail "the program ended while the focus was away"
        sleep 0.2
    done
    xdotool mousemove 630 240 windowfocus "$(e2e_game_window)"
    e2e_screenshot refocused
    move_mouse 800 0
    e2e_screenshot edge
    cells=$(convert "$E2E_WORK/edge.tga" -auto-orient -crop 620x10+10+437 +repage -scale '62x1!' -depth 8 txt:- |
        awk -F'[(),]' 'NR > 1 && ($3 > 120 || $4 > 120 || $5 > 120) { printf " %d", NR - 2 }')
    [[ "$cells " == *" 57 58 59 60 61 "* ]] || fail "the paddle did not reach the right wall (lit cells:$cells)"
fi

# Play: the paddle follows the mouse, the left button grows it, F1 saves the play screen.
move_mouse -60 0
move_mouse 120 0
xdotool mousedown 1
e2e_screenshot growing
xdotool mouseup 1
e2e_screenshot play
[ "$(brightest play)" -gt 64 ] || fail "the play screenshot is dark"
# The ball breaks bricks as the test goes on, so the share of yellow cells tells the wall from the menu's blue
# bands, not their number.
read -r lit blue yellow < <(e2e_wall_cells "$E2E_WORK/play.tga")
[ "$lit" -ge 50 ] && [ "$blue" -ge 10 ] && [ $((yellow * 100)) -ge $((lit * 20)) ] ||
    fail "the wall is not in the play screenshot (cells lit $lit, blue $blue, yellow $yellow)"

# Escape tears the game down and returns to the menu; F12 there ends the program.
# The teardown takes a pass per entity, so F12 is pressed until the menu is back and takes it.
press_key Escape
while kill -0 "$GAME_PID" 2>/dev/null; do press_key F12; done
e2e_wait_exit
[ "$GAME_STATUS" = 0 ] || fail "the program exited with status $GAME_STATUS"
e2e_log_complete || fail "the log is incomplete"
grep -qi 'sanitizer\|segmentation' "$E2E_WORK/stderr.txt" && fail "the program reported a crash"
echo "e2e play on $E2E_KIND: passed"
