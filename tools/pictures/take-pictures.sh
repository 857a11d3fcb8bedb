#!/usr/bin/env bash
# Takes the README's pictures, docs/menu.png and docs/play.png, as a player sees the game on an ordinary
# desktop: full screen at 640 x 480, frames at the display's 60 Hz (vsync, as drivers have it by default).
#   tools/pictures/take-pictures.sh [BUILD_DIR]      (default build/release; it must have built sixty_hertz)
# The game plays live on a virtual screen, driven with xdotool, with tools/pictures/sixty_hertz preloaded: a
# frame lasts one refresh whatever the speed of this machine, so the frame rate on the pictures is the one an
# ordinary desktop shows, not the software renderer's here. The pictures are the game's own F1 screenshots:
# the menu with the cursor on "<-Yeni Oyun->", and a game once the ball has cut a dozen bricks out of the wall.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build/release}" && pwd)
pacer=$build/tools/pictures/libsixty_hertz.so
[ -f "$pacer" ] || { echo "no $pacer: build the sixty_hertz target" >&2; exit 1; }
source "$root/tests/e2e/lib.sh"

# The wall's bright bricks still standing: its 12 x 18 cells, each averaged to one pixel, that are lit (the
# darkest colours of the wall's sequence are not).
standing_bricks() {
    convert "$E2E_WORK/$1.tga" -auto-orient -crop 594x216+20+50 +repage -scale '18x12!' -depth 8 txt:- |
        awk -F'[(),]' 'NR > 1 { m = $3 > $4 ? $3 : $4; m = m > $5 ? m : $5; if (m > 70) lit++ } END { print lit + 0 }'
}

# keep SHOT NAME: the screenshot as docs/NAME.png, without the dates that would make every run's file differ.
keep() {
    convert "$E2E_WORK/$1.tga" -auto-orient -strip "$root/docs/$2.png"
    echo "docs/$2.png"
}

e2e_start_x 640x480x24
e2e_workdir "$build/run"
e2e_launch env LD_PRELOAD="$pacer" "$build/brikatan"
e2e_answer_box "PEL2D - TEST"
e2e_wait_frame "$(e2e_game_window)" || fail "the game drew no frame"
e2e_screenshot started # start-up is over, and the mouse read, once a frame answers a key

move_mouse -400 -400
move_mouse 150 110 # the cursor on "<-Yeni Oyun->"
e2e_screenshot menu
keep menu menu

click
e2e_screenshot play0
whole=$(standing_bricks play0)
shot=0
while :; do
    shot=$((shot + 1))
    move_mouse -100 0 # the paddle swept under the ball
    move_mouse 100 0
    e2e_screenshot "play$shot"
    [ "$(standing_bricks "play$shot")" -gt $((whole - 12)) ] || break
done
keep "play$shot" play

press_key Escape
press_key F12
e2e_wait_exit
[ "$GAME_STATUS" = 0 ] || fail "the game exited with status $GAME_STATUS"
