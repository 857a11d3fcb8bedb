#!/usr/bin/env bash
# Records the demos of data/demos by playing the game on a virtual screen with xdotool:
#   tools/demos/record-demos.sh [BUILD_DIR [NAME...]]      (default build/dev, every demo)
# quick.demo: start-up, the cursor taken to the menu's first item, a game started, a moment of play, Escape back
# to the menu, F12; a few hundred frames, since the valgrind test replays it.
# menu.demo: the menu, the cursor over each item, a game started and left at once, F12.
# game.demo: a whole game: the paddle steered and grown and shrunk, bricks hit, screenshots, Escape's teardown,
# a second wall, then back to the menu and F12.
# A recording holds what this run read, not what the script meant: check a new one with --replay before
# committing it, and regenerate the golden frames (tests/golden/golden_test.sh ... --update) after.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build/dev}" && pwd)
source "$root/tests/e2e/lib.sh"

# record NAME SCRIPT: runs the game with --record under a fresh virtual screen and plays SCRIPT (a function).
record() {
    e2e_start_x 640x480x16
    e2e_workdir "$build/run"
    e2e_launch "$build/brikatan" --record "$E2E_WORK/$1.demo"
    e2e_answer_box "PEL2D - TEST"
    e2e_game_window >/dev/null
    e2e_polled # a menu frame has read the keyboard
    "$2"
    e2e_quit
    [ "$GAME_STATUS" = 0 ] || fail "the game exited with status $GAME_STATUS"
    cp "$E2E_WORK/$1.demo" "$root/data/demos/$1.demo"
    echo "data/demos/$1.demo: $(stat -c %s "$root/data/demos/$1.demo") bytes"
    e2e_stop_x
    rm -rf "$E2E_WORK"
}

# As few frames as the visit allows: each costs about a second under valgrind. The cursor starts in the middle
# of the screen, and each step of move_mouse is doubled.
quick_visit() {
    move_mouse -170 -130 # to the top left corner
    move_mouse 150 110   # over "<-Yeni Oyun->"
    click
    move_mouse -30 0
    e2e_polled
    move_mouse 30 0
    press_key Escape
}

menu_visit() {
    move_mouse -400 -400
    move_mouse 150 110 # over "<-Yeni Oyun->"
    move_mouse 0 40    # over "<-Yuksek Skorlar->"
    move_mouse 0 40    # over "<-Kapat->"
    move_mouse 0 -80
    click
    press_key Escape
}

# A stretch of play: the paddle swept left and right under the ball for SECONDS.
sweep() {
    local end=$((SECONDS + $1))
    while [ $SECONDS -lt "$end" ]; do
        move_mouse -120 0
        move_mouse 120 0
    done
}

whole_game() {
    click_new_game
    sweep 6
    press_key F1
    xdotool mousedown 1; sleep 1.5; xdotool mouseup 1   # the paddle and the ball grow
    sweep 4
    xdotool mousedown 3; sleep 1; xdotool mouseup 3     # and shrink
    sweep 6
    press_key F1
    press_key Escape    # the teardown, one brick a pass, back to the menu
    click_new_game      # the second wall carries on the colour sequence
    sweep 5
    press_key F1
    press_key Escape
}

mkdir -p "$root/data/demos"
shift || true
names=("$@")
[ ${#names[@]} -gt 0 ] || names=(quick menu game)
for name in "${names[@]}"; do
    case $name in
        quick) record quick quick_visit ;;
        menu) record menu menu_visit ;;
        game) record game whole_game ;;
        *) fail "no demo $name" ;;
    esac
done
