#!/usr/bin/env bash
# brikatan.exe under Wine on an X server of its own, played as on Linux (tests/e2e); every session must exit 0
# with the Linux program's log (pel3dlog.expected) but for the GL extension list.
#   play_test.sh WINE_RUN BUILD_PREFIX BRIKATAN_EXE RUN_FOLDER fullscreen|fallback|faults|replay
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
wine_run=$(readlink -f "$1")
build_prefix=$(readlink -f "$2")
program=$(readlink -f "$3")
run=$4
scenario=$5
WIN_PREFIX=""

win_cleanup() {
    local status=$?
    [ "$status" = 0 ] || { echo "in: $scenario"; tail -n 20 "${E2E_WORK:-}/stderr.txt" 2>/dev/null || true; } >&2
    # The prefix's Wine server and desktop process go before the X server they talk to.
    [ -z "$WIN_PREFIX" ] || WINEPREFIX=$WIN_PREFIX wineserver -k 2>/dev/null || true
    e2e_cleanup
    [ -z "$WIN_PREFIX" ] || rm -rf "$WIN_PREFIX"
}
trap win_cleanup EXIT

# A prefix of this run's own, sharing no Wine server or display settings: the build's, linked file by file (the
# registry copied, as Wine replaces it whole).
win_prefix() {
    "$wine_run" "$build_prefix" cmd /c exit >/dev/null 2>&1 # makes the build's prefix on first use
    WIN_PREFIX=$(mktemp -d)
    cp -al "$build_prefix/." "$WIN_PREFIX/"
    cp --remove-destination "$build_prefix"/*.reg "$WIN_PREFIX/"
}

# win_exited: the program, waited for, ended with status 0 and a log whose lines are the Linux program's.
win_exited() {
    local log=$E2E_WORK/pel3dlog.htm
    [ "$GAME_STATUS" = 0 ] || fail "the program exited with status $GAME_STATUS"
    e2e_log_complete || fail "the log is incomplete"
    awk '/^OpenGL Ekran Karti :\r$/ { print; getline; print; skip = 1; next } /Font yuklendi/ { skip = 0 } !skip' \
        "$log" >"$log.cut"
    sed 's/$/\r/' "$here/pel3dlog.expected" | diff - "$log.cut" >&2 || fail "the log differs from the Linux program's"
}

# win_move_mouse DX DY: one motion, read by a frame before the next: Wine's hook that turns pointer moves into
# DirectInput's loses one now and then on a loaded machine, so the fewer, the better.
win_move_mouse() {
    xdotool mousemove_relative -- "$1" "$2"
    e2e_polled
}

# game SPOIL BOXES [wall]: a session in a copy of the run folder spoilt by SPOIL, showing the boxes BOXES; a new
# game by the mouse (with "wall": its wall has many bricks, blue and yellow ones), Escape, F12.
game() {
    local lit blue yellow
    e2e_workdir "$run"
    "$1"
    e2e_launch "$wine_run" "$WIN_PREFIX" "$program"
    win_start_up "$2"
    geometry=$(xwininfo -id "$WINDOW" | awk '/-geometry/ {print $2}')
    e2e_polled # the start-up is over, the devices acquired
    win_move_mouse -400 -400
    win_move_mouse 150 110
    click
    e2e_screenshot game
    if [ -n "${3:-}" ]; then
        read -r lit blue yellow < <(e2e_wall_cells "$E2E_WORK/game.tga")
        [ "$lit" -ge 50 ] && [ "$blue" -ge 10 ] && [ $((yellow * 100)) -ge $((lit * 20)) ] ||
            fail "no wall in the screenshot (cells lit $lit, blue $blue, yellow $yellow)"
    fi
    press_key Escape
    e2e_quit
    win_exited
    rm -rf "$E2E_WORK"
}
# session SCREEN BOXES: a game with a sound device and the whole run folder, on this screen.
session() {
    e2e_start_x "$1"
    win_prefix
    win_sound_device "$WIN_PREFIX"
    game : "$2" wall
}
no_music() { rm "$E2E_WORK/data/snd/oyun.mp3"; }
# Every other picture missing, passed over in silence; the rest empty, which cannot be mapped: an "Error" box.
no_images() {
    local file index=0
    for file in "$E2E_WORK"/data/spr/*.spr "$E2E_WORK"/data/spr/efek/*.spr; do
        if ((index++ % 2)); then : >"$file"; else rm "$file"; fi
    done
}

case $scenario in
    fullscreen)
        session 640x480x16 "PEL2D - TEST|"
        [ "$geometry" = 640x480+0+0 ] || fail "not full screen but $geometry" ;;
    fallback)
        session 1024x768x24 "PEL2D - TEST|ERROR|"
        [[ "$geometry" != 640x480* ]] || fail "the window has no frame ($geometry)" ;;
    faults)
        e2e_start_x 640x480x16
        win_prefix
        win_no_sound_device "$WIN_PREFIX"
        scenario="no sound device" game : "PEL2D - TEST|"
        win_sound_device "$WIN_PREFIX"
        scenario="no music" game no_music "PEL2D - TEST|Hata|"
        scenario="pictures missing or empty" game no_images "PEL2D - TEST|Error|*" ;;
    replay)
        # llvmpipe pinned as for the golden frames (tests/golden).
        e2e_start_x 640x480x24
        win_prefix
        e2e_workdir "$run"
        export LP_NATIVE_VECTOR_WIDTH=128
        e2e_launch "$wine_run" "$WIN_PREFIX" "$program" --timedemo data/demos/game.demo
        e2e_wait_exit
        win_exited
        grep -q '^timedemo data/demos/game.demo: 1737 frames, ' "$E2E_WORK/stdout.txt" ||
            fail "the timedemo printed: $(cat "$E2E_WORK/stdout.txt")"
        convert "$E2E_WORK/ekrang.tga" -auto-orient "$E2E_WORK/last.png"
        differing=$(compare -metric AE "$here/frames/game-demo-last.png" "$E2E_WORK/last.png" null: 2>&1) ||
            fail "the last screenshot differs from the Linux program's in $differing pixels" ;;
    *) fail "no scenario $scenario" ;;
esac
echo "win32 e2e $5: passed"
