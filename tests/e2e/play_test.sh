#!/usr/bin/env bash
# A whole session as a player plays it: the notice box, the menu's new-game item clicked with the mouse, the paddle
# moved and grown, a screenshot of play, Escape back to the menu, F12 to leave. Then the exit status, the log and
# the screenshot are checked. Arguments: the brikatan program, its run folder, the screen kind (lib.sh; switch16
# when not given).
# With E2E_WRAPPER set (for instance "valgrind --error-exitcode=99"), the program runs under that command, and
# E2E_START_SECONDS and E2E_EXIT_SECONDS give it longer to start and to end.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
program=$1
run=$2
e2e_screen "${3:-switch16}"
# Seconds to hold a key or button, and to wait after it: at least two frames. The first screenshot measures how
# long the program takes to answer a key, which sets it under a slow wrapper.
pace=0.4

# Holds F1 until the screenshot appears and keeps it as NAME.png. The first one also sets the pace of every
# later step from the time the program took to answer, which spans at least one frame.
first_shot=1
screenshot() {
    local start=$SECONDS waited=0
    xdotool keydown F1
    while [ ! -s "$E2E_WORK/ekrang.tga" ]; do
        [ "$waited" -lt 1800 ] || fail "F1 wrote no screenshot in three minutes"
        sleep 0.1
        waited=$((waited + 1))
    done
    sleep 0.2
    xdotool keyup F1
    if [ "$first_shot" = 1 ] && [ $((SECONDS - start)) -ge 1 ]; then pace=$((SECONDS - start + 1)); fi
    first_shot=0
    sleep "$pace"
    convert "$E2E_WORK/ekrang.tga" -auto-orient "$E2E_WORK/$1.png" || fail "ekrang.tga is not a readable TGA"
    rm -f "$E2E_WORK/ekrang.tga"
}
# The wall's 12 x 18 cells, each averaged to one pixel: how many are lit, and how many of those are clearly blue
# and clearly yellow. The brick colours cycle through both.
wall_cells() {
    convert "$E2E_WORK/$1.png" -crop 594x216+20+50 +repage -scale '18x12!' -depth 8 txt:- |
        awk -F'[(),]' 'NR > 1 {
            r = $3; g = $4; b = $5; m = r > g ? r : g; m = m > b ? m : b
            if (m > 70) { lit++; if (b > r + 35) blue++; if (r > b + 35) yellow++ }
        } END { print lit + 0, blue + 0, yellow + 0 }'
}
brightest() {
    convert "$E2E_WORK/$1.png" -format '%[fx:int(255*maxima)]' info:
}

e2e_start_screen
e2e_workdir "$run"
# shellcheck disable=SC2086 # the wrapper is a command with its arguments
e2e_launch ${E2E_WRAPPER:-} "$program"
E2E_PIDS+=("$GAME_PID") # stopped with the X server if the test gives up on it
e2e_find_window '"PEL2D - TEST": \(\)' "${E2E_START_SECONDS:-20}" >/dev/null || fail "no notice box appeared"
e2e_answer_start
# Start-up is over, and the mouse read, once a frame answers a key: F1 held until a screenshot appears.
xdotool keydown F1
until [ -s "$E2E_WORK/ekrang.tga" ]; do sleep 0.2; done
xdotool keyup F1
sleep "$pace"
rm "$E2E_WORK/ekrang.tga"

# The menu: the game's cursor is driven by relative movement and held inside the screen, so pushing it far up
# and left puts it at (0, 0). Ten pixels of movement become twenty on screen: (150, 110) reaches (300, 220),
# inside "<-Yeni Oyun->".
move_mouse -400 -400
move_mouse 150 110
screenshot menu
[ "$(brightest menu)" -gt 64 ] || fail "the menu screenshot is dark"
click
sleep 1

# In a window the mouse moves the paddle however far past the window's edge it goes. With the paddle at the left
# wall and the focus away (the pointer then leaves the window freely), the pointer is put just inside the right
# edge; with the focus back (F1 answered) the mouse is pushed far right: the paddle must reach the right wall,
# x 566 to 630, where the paddle's rows in cells of 10 pixels from the left wall are lit up to the last one.
if [ "$E2E_KIND" = window ]; then
    move_mouse -700 0
    xdotool windowfocus "$(xwininfo -root | awk '/Window id:/ {print $4}')"
    deadline=$((SECONDS + 30))
    until xdotool mousemove 900 300 && [ "$(xdotool getmouselocation | cut -d' ' -f1)" = x:900 ]; do
        [ $SECONDS -lt $deadline ] || fail "the pointer is not given back when the window loses the focus"
        sleep 0.2
    done
    xdotool mousemove 630 240 windowfocus "$(e2e_game_window)"
    screenshot refocused
    move_mouse 800 0
    screenshot edge
    cells=$(convert "$E2E_WORK/edge.png" -crop 620x10+10+437 +repage -scale '62x1!' -depth 8 txt:- |
        awk -F'[(),]' 'NR > 1 && ($3 > 120 || $4 > 120 || $5 > 120) { printf " %d", NR - 2 }')
    [[ "$cells " == *" 57 58 59 60 61 "* ]] || fail "the paddle did not reach the right wall (lit cells:$cells)"
fi

# Play: the paddle follows the mouse, the left button grows it, F1 saves the play screen.
move_mouse -60 0
move_mouse 120 0
xdotool mousedown 1
sleep 1
sleep "$pace"
xdotool mouseup 1
sleep "$pace"
screenshot play
[ "$(brightest play)" -gt 64 ] || fail "the play screenshot is dark"
# The ball breaks bricks as the test goes on, so the share of yellow cells tells the wall from the menu's blue
# bands, not their number. Under a slow wrapper each frame is long and the ball breaks most of the wall before
# the shot, so a wrapped run (E2E_CHECK_WALL=0) checks only that the screen is drawn.
if [ "${E2E_CHECK_WALL:-1}" != 0 ]; then
    read -r lit blue yellow < <(wall_cells play)
    [ "$lit" -ge 50 ] && [ "$blue" -ge 10 ] && [ $((yellow * 100)) -ge $((lit * 20)) ] ||
        fail "the wall is not in the play screenshot (cells lit $lit, blue $blue, yellow $yellow)"
fi

# Escape tears the game down and returns to the menu; F12 there ends the program.
press_key Escape
sleep 2
sleep "$pace"
press_key F12
e2e_wait_exit "${E2E_EXIT_SECONDS:-60}"
[ "$GAME_STATUS" = 0 ] || fail "the program exited with status $GAME_STATUS"
e2e_log_complete || fail "the log is incomplete"
grep -qi 'sanitizer\|segmentation' "$E2E_WORK/stderr.txt" && fail "the program reported a crash"
[ -n "${E2E_KEEP:-}" ] && cp "$E2E_WORK/menu.png" "$E2E_WORK/play.png" "$E2E_KEEP/"
echo "e2e play: passed"
