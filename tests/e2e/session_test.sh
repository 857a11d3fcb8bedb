#!/usr/bin/env bash
# A whole session of the real program on one kind of screen (lib.sh lists them), as a player plays it: the notice
# box, the question only where neither a mode switch nor scaling can give full screen, a window that covers the
# screen (or the 640 x 480 window) showing the picture F1 saves scaled into the middle with black bars around
# it; then the menu's new-game item clicked, the paddle moved and grown, the wall on screen, Escape back to the
# menu and F12 to leave, with a complete log. In a window, the mouse also moves the paddle however far past the
# window's edge it goes. Arguments: the brikatan program, its run folder, the screen kind (switch16 when not given).
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
program=$1
run=$2
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

# F1 saves the picture at the game's own size whatever the screen, and the screen shows it scaled to fit,
# centred, black around it. The two are different frames of the menu, so they are compared by likeness, which
# a picture misplaced, mirrored, cut off or with light bars would not have.
xdotool keydown F1
until [ "$(stat -c %s "$E2E_WORK/ekrang.tga" 2>/dev/null)" = 921618 ]; do
    kill -0 "$GAME_PID" 2>/dev/null || fail "the program ended before F1 wrote a 640 x 480 screenshot"
    sleep 0.1
done
import -window "$capture" "$E2E_WORK/screen.png"
xdotool keyup F1
convert "$E2E_WORK/ekrang.tga" -auto-orient -resize "$screen" -background black -gravity center \
    -extent "$screen" "$E2E_WORK/expected.png" || fail "ekrang.tga is not a readable TGA"
likeness=$({ compare -metric RMSE "$E2E_WORK/screen.png" "$E2E_WORK/expected.png" null: 2>&1 || true; } | tr -d '()' | awk '{print $2}')
awk -v d="$likeness" 'BEGIN { exit !(d < 0.12) }' || fail "the screen does not show the picture scaled to fit ($likeness)"

click_new_game

# In a window the mouse moves the paddle however far past the window's edge it goes. With the paddle at the left
# wall and the focus away (the pointer then leaves the window freely), the pointer is put just inside the right
# edge; with the focus back the mouse is pushed far right: the paddle must reach the right wall, x 566 to 630,
# where the paddle's rows in cells of 10 pixels from the left wall are lit up to the last one.
if [ "$E2E_KIND" = window ]; then
    move_mouse -700 0
    e2e_polled
    xdotool windowfocus "$(xwininfo -root | awk '/Window id:/ {print $4}')"
    until xdotool mousemove 900 300 && [ "$(xdotool getmouselocation | cut -d' ' -f1)" = x:900 ]; do
        kill -0 "$GAME_PID" 2>/dev/null || fail "the program ended while the focus was away"
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

# Play: the paddle follows the mouse, the left button grows it, F1 saves the play screen, where the wall's 12 x 18
# cells, each averaged to one pixel, are lit, and clearly blue and clearly yellow in turn, as the brick colours
# cycle. The ball breaks bricks as the test goes on, so the share of yellow cells tells the wall from the menu's
# blue bands, not their number.
move_mouse -60 0
move_mouse 120 0
xdotool mousedown 1
e2e_polled
xdotool mouseup 1
e2e_screenshot play
read -r lit blue yellow < <(convert "$E2E_WORK/play.tga" -auto-orient -crop 594x216+20+50 +repage -scale '18x12!' \
    -depth 8 txt:- | awk -F'[(),]' 'NR > 1 {
        r = $3; g = $4; b = $5; m = r > g ? r : g; m = m > b ? m : b
        if (m > 70) { lit++; if (b > r + 35) blue++; if (r > b + 35) yellow++ }
    } END { print lit + 0, blue + 0, yellow + 0 }')
[ "$lit" -ge 50 ] && [ "$blue" -ge 10 ] && [ $((yellow * 100)) -ge $((lit * 20)) ] ||
    fail "the wall is not in the play screenshot (cells lit $lit, blue $blue, yellow $yellow)"

# Escape tears the game down and returns to the menu (press_key waits for a menu frame); F12 there ends it.
press_key Escape
e2e_quit
[ "$GAME_STATUS" = 0 ] || fail "the program exited with status $GAME_STATUS"
e2e_log_complete || fail "the log is incomplete"
grep -q 'Ekran kartinin destekledigi Extension : GL_ARB_multitexture' "$E2E_WORK/pel3dlog.htm" ||
    fail "the multitexture check is missing from the log"
grep -qi 'sanitizer\|segmentation' "$E2E_WORK/stderr.txt" && fail "the program reported a crash"
echo "e2e session on $E2E_KIND: passed"
