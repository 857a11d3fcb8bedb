#!/usr/bin/env bash
# A whole session of the real program on one kind of screen (lib.sh), as a player plays it: the boxes, a window
# covering the screen (or 640 x 480) showing F1's picture scaled to fit, a new game, the paddle moved and grown,
# the wall, Escape to the menu, F12, a complete log. Arguments: the program, its run folder, the screen kind.
source "$(dirname "$0")/lib.sh"
program=$1 run=$2
e2e_screen "${3:-switch16}"

e2e_start_screen
e2e_workdir "$run"
e2e_launch "$program"
e2e_answer_start
window=$(e2e_game_window)
size() { xwininfo "$@" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}'; }
screen=$(size -root) capture=root
[ "$E2E_KIND" != window ] || screen=640x480 capture=$window
[ "$(size -id "$window")" = "$screen" ] || fail "the game's window is $(size -id "$window"), not $screen"
e2e_wait_frame "$window" || fail "the window shows no drawn frame"

# F1's picture and the screen are different menu frames, so compared by likeness, which a picture misplaced,
# mirrored, cut off or with light bars would not have.
e2e_polled
import -window "$capture" "$E2E_WORK/screen.png"
convert "$E2E_WORK/ekrang.tga" -auto-orient -resize "$screen" -background black -gravity center \
    -extent "$screen" "$E2E_WORK/expected.png" || fail "ekrang.tga is not a readable TGA"
likeness=$({ compare -metric RMSE "$E2E_WORK/screen.png" "$E2E_WORK/expected.png" null: 2>&1 || true; } | tr -d '()' | awk '{print $2}')
awk -v d="$likeness" 'BEGIN { exit !(d < 0.12) }' || fail "the screen does not show the picture scaled to fit ($likeness)"

click_new_game

# In a window the mouse moves the paddle however far past the window's edge it goes: from the left wall, the
# pointer put inside the right edge while the focus is away, then pushed far right; the paddle reaches x 566-630.
if [ "$E2E_KIND" = window ]; then
    move_mouse -700 0
    e2e_polled
    xdotool windowfocus "$(xwininfo -root | awk '/Window id:/ {print $4}')"
    until xdotool mousemove 900 300 && [ "$(xdotool getmouselocation | cut -d' ' -f1)" = x:900 ]; do
        e2e_alive || fail "the program ended while the focus was away"
        sleep 0.2
    done
    xdotool mousemove 630 240 windowfocus "$window"
    e2e_polled
    move_mouse 800 0
    e2e_screenshot edge
    cells=$(convert "$E2E_WORK/edge.tga" -auto-orient -crop 620x10+10+437 +repage -scale '62x1!' -depth 8 txt:- |
        awk -F'[(),]' 'NR > 1 && ($3 > 120 || $4 > 120 || $5 > 120) { printf " %d", NR - 2 }')
    [[ "$cells " == *" 57 58 59 60 61 "* ]] || fail "the paddle did not reach the right wall (lit cells:$cells)"
fi

# The ball breaks bricks meanwhile, so the share of yellow cells tells the wall from the menu's blue bands.
move_mouse -60 0
move_mouse 120 0
click
e2e_screenshot play
read -r lit blue yellow < <(e2e_wall_cells "$E2E_WORK/play.tga")
[ "$lit" -ge 50 ] && [ "$blue" -ge 10 ] && [ $((yellow * 100)) -ge $((lit * 20)) ] ||
    fail "the wall is not in the play screenshot (cells lit $lit, blue $blue, yellow $yellow)"

press_key Escape
e2e_quit
[ "$GAME_STATUS" = 0 ] || fail "the program exited with status $GAME_STATUS"
e2e_log_complete || fail "the log is incomplete"
grep -q 'Ekran kartinin destekledigi Extension : GL_ARB_multitexture' "$E2E_WORK/pel3dlog.htm" ||
    fail "the multitexture check is missing from the log"
! grep -qi 'sanitizer\|segmentation' "$E2E_WORK/stderr.txt" || fail "the program reported a crash"
