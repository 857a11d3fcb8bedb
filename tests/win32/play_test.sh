#!/usr/bin/env bash
# brikatan.exe under Wine on a virtual X server of its own, played as on Linux (tests/e2e): keys and mouse go
# through the X server to DirectInput, the boxes are Wine's windows, the sound goes to a PulseAudio null sink.
# Every scenario checks the exit status and the log, whose lines are the Linux program's (pel3dlog.expected)
# but for the extension list, which names the GL driver. Scenarios:
#   fullscreen  640x480x16: the notice, full screen, a new game by the mouse, the wall and the paddle moved
#   fallback    1024x768x24, without the game's mode: the question answered Yes, the same game in a window
#   faults      no sound device, the music missing, the pictures missing or empty: the boxes, then a game
#   replay      the whole committed game by --timedemo, its last screenshot the Linux program's, pixel for pixel
# Arguments: scripts/wine-run, the build's Wine prefix, brikatan.exe, its run folder, the scenario.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
wine_run=$(readlink -f "$1")
build_prefix=$(readlink -f "$2")
program=$(readlink -f "$3")
run=$4
scenario=$5

win_cleanup() {
    local status=$?
    # What Wine said of a run that failed is the first thing to read.
    [ "$status" = 0 ] || [ ! -s "${E2E_WORK:-}/stderr.txt" ] || tail -n 20 "$E2E_WORK/stderr.txt" >&2
    # The prefix's Wine server and desktop process go before the X server they talk to.
    [ -z "$WIN_PREFIX" ] || WINEPREFIX=$WIN_PREFIX wineserver -k 2>/dev/null || true
    e2e_cleanup
    [ -z "$WIN_PREFIX" ] || rm -rf "$WIN_PREFIX"
}
trap win_cleanup EXIT

# A Wine prefix of this run's own, so that runs side by side share no Wine server and no display settings: the
# build's prefix linked file by file (the registry copied, as Wine replaces it whole), far quicker than a new one.
win_prefix() {
    "$wine_run" "$build_prefix" cmd /c exit >/dev/null 2>&1 # makes the build's prefix on first use
    WIN_PREFIX=$(mktemp -d)
    cp -al "$build_prefix/." "$WIN_PREFIX/"
    cp --remove-destination "$build_prefix"/*.reg "$WIN_PREFIX/"
}

# Wine's boxes carry the program's class like its main window, and the notice has the main window's title:
# a box is told by its width, under the game's 640 pixels.
# win_windows CAPTION narrow|wide: the ids of the program's windows with this title.
win_windows() {
    xwininfo -root -tree 2>/dev/null | awk -v title="\"$1\": (\"brikatan.exe\"" -v kind="$2" '
        index($0, title) { split($(NF - 1), size, "x"); if ((size[1] < 640) == (kind == "narrow")) print $1 }'
}
# win_box CAPTION: the id of a box with this caption that is shown, if any.
win_box() {
    local id
    for id in $(win_windows "$1" narrow); do
        xwininfo -id "$id" 2>/dev/null | grep -q IsViewable && { echo "$id"; return 0; }
    done
    return 1
}
# win_press_return WINDOW: Wine takes only the X server's own key events, not sent ones, so the box gets the
# focus first; a box not yet taking keys loses the press, so Return goes again until the box is gone.
win_press_return() {
    while xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; do
        xdotool windowfocus --sync "$1" key Return 2>/dev/null || true
        sleep 0.3
    done
}

# win_start_up BOXES: the start-up's boxes (the notice, the full-screen question, the "Error" and "Hata"
# messages) answered as they come until the game's window shows a frame in its last rows, which no box
# reaches; the captions answered, each followed by "|", must match the pattern BOXES. Sets WINDOW.
win_start_up() {
    local id caption drawn answered boxes=""
    while :; do
        kill -0 "$GAME_PID" 2>/dev/null || fail "$scenario: the program ended during its start-up ($boxes)"
        WINDOW=$(win_windows "PEL2D - TEST" wide)
        drawn=""
        [ -z "$WINDOW" ] || ! e2e_shows_frame "$WINDOW" \
            "600x20+20+$(($(xwininfo -id "$WINDOW" | awk '/Height:/ {print $2}') - 30))" || drawn=yes
        answered=""
        for caption in "PEL2D - TEST" ERROR Error Hata; do
            id=$(win_box "$caption") || continue
            win_press_return "$id"
            boxes+="$caption|"
            answered=yes
        done
        [ -n "$drawn" ] && [ -z "$answered" ] && break
        sleep 0.3
    done
    # shellcheck disable=SC2053 # a pattern
    [[ "$boxes" == $1 ]] || fail "$scenario: the start-up showed the boxes '$boxes', not '$1'"
}

# win_exited: the program, waited for, ended with status 0 and a log whose lines are the Linux program's.
win_exited() {
    local log=$E2E_WORK/pel3dlog.htm
    [ "$GAME_STATUS" = 0 ] || fail "$scenario: the program exited with status $GAME_STATUS"
    e2e_log_complete || fail "$scenario: the log is incomplete"
    awk '/^OpenGL Ekran Karti :\r$/ { print; getline; print; skip = 1; next } /Font yuklendi/ { skip = 0 } !skip' \
        "$log" >"$log.cut"
    sed 's/$/\r/' "$here/pel3dlog.expected" | diff - "$log.cut" >&2 ||
        fail "$scenario: the log differs from the Linux program's"
}

# win_move_mouse DX DY: one motion, read by a frame before the next. Wine turns pointer moves into
# DirectInput's through a hook that on a loaded machine now and then loses one: the fewer, the fewer lost. One
# motion is past the game's second acceleration threshold (doubled), as each step of lib.sh's move_mouse is.
win_move_mouse() {
    xdotool mousemove_relative -- "$1" "$2"
    e2e_polled
}

# paddle_cell TGA: where the paddle is, in cells of 10 pixels from the left wall: the mean of its lit cells.
paddle_cell() {
    convert "$1" -auto-orient -crop 620x10+10+437 +repage -scale '62x1!' -depth 8 txt:- |
        awk -F'[(),]' 'NR > 1 && ($3 > 120 || $4 > 120 || $5 > 120) { sum += NR - 2; n++ }
                       END { print n ? int(sum / n) : -1 }'
}

# play_and_leave [shots]: a new game by the mouse (see click_new_game), the paddle swept left then right,
# Escape back to the menu, F12. With "shots", the wall (many bricks, blue and yellow ones) and the paddle moved
# by 120 pixels of mouse, doubled.
play_and_leave() {
    local lit blue yellow left right
    e2e_screenshot started # start-up is over, the devices acquired
    win_move_mouse -400 -400
    win_move_mouse 150 110
    click
    win_move_mouse -60 0
    e2e_screenshot left
    win_move_mouse 120 0
    e2e_screenshot right
    if [ -n "${1:-}" ]; then
        read -r lit blue yellow < <(e2e_wall_cells "$E2E_WORK/right.tga")
        [ "$lit" -ge 50 ] && [ "$blue" -ge 10 ] && [ $((yellow * 100)) -ge $((lit * 20)) ] ||
            fail "$scenario: no wall in the screenshot (cells lit $lit, blue $blue, yellow $yellow)"
        left=$(paddle_cell "$E2E_WORK/left.tga")
        right=$(paddle_cell "$E2E_WORK/right.tga")
        [ "$left" -ge 0 ] && [ "$right" -ge $((left + 15)) ] ||
            fail "$scenario: the paddle did not follow the mouse (cell $left, then $right)"
    fi
    press_key Escape
    e2e_quit
    win_exited
}

# game NAME SPOIL BOXES [shots]: a session whose start-up SPOIL may spoil (a function on the run folder), showing
# the start-up boxes BOXES, then play_and_leave; with "shots", on the screen the scenario says.
game() {
    scenario=$1
    e2e_workdir "$run"
    "$2"
    e2e_launch "$wine_run" "$WIN_PREFIX" "$program"
    win_start_up "$3"
    local geometry
    geometry=$(xwininfo -id "$WINDOW" | awk '/-geometry/ {print $2}')
    [ "$scenario" = fullscreen ] && [ "$geometry" != 640x480+0+0 ] && fail "not full screen but $geometry"
    [ "$scenario" = fallback ] && [[ "$geometry" == 640x480* ]] && fail "the window has no frame ($geometry)"
    play_and_leave "${4:-}"
    rm -rf "$E2E_WORK"
}
session() {
    e2e_start_x "$1"
    win_prefix
    win_sound_device "$WIN_PREFIX"
    game "$scenario" : "$2" shots
}
no_music() { rm "$E2E_WORK/data/snd/oyun.mp3"; }
# Every other picture missing, which the engine passes over in silence, the rest empty: an empty bitmap,
# which cannot be mapped into memory, and its "Error" box.
no_images() {
    local file index=0
    for file in "$E2E_WORK"/data/spr/*.spr "$E2E_WORK"/data/spr/efek/*.spr; do
        if ((index++ % 2)); then : >"$file"; else rm "$file"; fi
    done
}
faults() {
    e2e_start_x 640x480x16
    win_prefix
    # Without a device every sound, the music too, runs silent: no box.
    win_no_sound_device "$WIN_PREFIX"
    game "no sound device" : "PEL2D - TEST|"
    win_sound_device "$WIN_PREFIX"
    game "no music" no_music "PEL2D - TEST|Hata|"
    game "pictures missing or empty" no_images "PEL2D - TEST|Error|*"
}

# As fast as it draws; llvmpipe pinned as for the golden frames (tests/golden).
replay() {
    e2e_start_x 640x480x24
    win_prefix
    e2e_workdir "$run"
    export LP_NATIVE_VECTOR_WIDTH=128
    e2e_launch "$wine_run" "$WIN_PREFIX" "$program" --timedemo data/demos/game.demo
    e2e_wait_exit
    win_exited
    grep -q '^timedemo data/demos/game.demo: 1737 frames, ' "$E2E_WORK/stdout.txt" ||
        fail "$scenario: the timedemo printed: $(cat "$E2E_WORK/stdout.txt")"
    convert "$E2E_WORK/ekrang.tga" -auto-orient "$E2E_WORK/last.png"
    differing=$(compare -metric AE "$here/frames/game-demo-last.png" "$E2E_WORK/last.png" null: 2>&1) ||
        fail "$scenario: the last screenshot differs from the Linux program's in $differing pixels"
}

WIN_PREFIX=""
case $scenario in
    fullscreen) session 640x480x16 "PEL2D - TEST|" ;;
    fallback) session 1024x768x24 "PEL2D - TEST|ERROR|" ;;
    faults) faults ;;
    replay) replay ;;
    *) fail "no scenario $scenario" ;;
esac
echo "win32 e2e $5: passed"
