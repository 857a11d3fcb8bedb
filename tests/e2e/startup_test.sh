#!/usr/bin/env bash
# The real program on one kind of screen (lib.sh lists them): its notice box, the question only where neither a
# mode switch nor scaling can give full screen, a window that covers the screen (or the 640 x 480 window), and
# on the screen the picture F1 saves, a 640 x 480 screenshot, scaled into the middle with black bars around it;
# then a clean exit when the window is closed. Arguments: the brikatan program, its run folder, the screen kind
# (switch16 when not given).
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
program=$1
run=$2
e2e_screen "${3:-switch16}"
: "${XCLOSE:?the xclose helper is needed}"

e2e_start_screen
e2e_workdir "$run"
e2e_launch "$program"
e2e_answer_start
window=$(e2e_game_window)
size() { xwininfo "$@" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}'; }
screen=$(size -root) capture=root
[ "$E2E_KIND" != window ] || screen=640x480 capture=$window
[ "$(size -id "$window")" = "$screen" ] || fail "the game's window is $(size -id "$window"), not $screen"
# Start-up loads every image after the window opens, which takes a while on a loaded machine.
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

"$XCLOSE" "$window"
e2e_wait_exit
[ "$GAME_STATUS" = 0 ] || fail "the program exited with status $GAME_STATUS"
e2e_log_complete || fail "the log is incomplete"
grep -q 'Ekran kartinin destekledigi Extension : GL_ARB_multitexture' "$E2E_WORK/pel3dlog.htm" ||
    fail "the multitexture check is missing from the log"
echo "e2e startup on $E2E_KIND: passed"
