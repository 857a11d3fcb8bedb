#!/usr/bin/env bash
# brikatan.exe under Wine on a virtual X server of its own, played as on Linux (tests/e2e): the keys and the
# mouse go through the X server to DirectInput, the boxes are Wine's own windows, the sound goes to a PulseAudio
# null sink the test starts. Every scenario ends from the menu with F12, and checks the exit status and the log,
# whose lines must be those the Linux program writes (pel3dlog.expected) apart from the extension list that names
# the GL driver. Scenarios:
#   fullscreen  640x480x16: the notice, full screen, the menu, a new game by the mouse, the paddle moved, F1
#               shows the wall, Escape, F12
#   fallback    1024x768x24, where 640x480x16 cannot be had: the notice, the question answered Yes, the same
#               game in a window
#   faults      no sound device, the music missing, the pictures missing or empty: the "Hata" and "Error"
#               boxes, then a game
#   replay      the committed whole game replayed by --timedemo: the log, and the last screenshot pixel for
#               pixel the Linux program's (frames/game-demo-last.png)
# Arguments: scripts/wine-run, the build's Wine prefix, brikatan.exe, its run folder, the scenario.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/lib.sh"
wine_run=$(readlink -f "$1")
build_prefix=$(readlink -f "$2")
program=$(readlink -f "$3")
run=$4
scenario=$5

WIN_PREFIX=""
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

# win_prefix: a Wine prefix of this run's own, so that runs side by side on other X servers share no Wine server
# and no display settings. It is the build's prefix linked file by file (the registry copied, as Wine replaces
# those files whole), which takes a fraction of a second where making one takes many.
win_prefix() {
    "$wine_run" "$build_prefix" cmd /c exit >/dev/null 2>&1 # makes the build's prefix on first use
    WIN_PREFIX=$(mktemp -d)
    cp -al "$build_prefix/." "$WIN_PREFIX/"
    cp --remove-destination "$build_prefix"/*.reg "$WIN_PREFIX/"
}

# win_sound_device: a PulseAudio server with a null sink, of this run's own, for DirectSound and DirectShow.
win_sound_device() {
    local dir
    dir=$(mktemp -d "$WIN_PREFIX/pulse.XXXXXX")
    HOME=$dir XDG_RUNTIME_DIR=$dir pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
        --disable-shm=yes --load=module-null-sink \
        --load="module-native-protocol-unix auth-anonymous=1 socket=$dir/native" >"$dir/log" 2>&1 &
    E2E_PIDS+=($!)
    export PULSE_SERVER=unix:$dir/native
    until pactl info >/dev/null 2>&1; do
        kill -0 "${E2E_PIDS[-1]}" 2>/dev/null || fail "PulseAudio did not start: $(cat "$dir/log")"
        sleep 0.1
    done
}

# win_no_sound_device: as on a machine without a sound card: no PulseAudio server where it is looked for, and
# no ALSA device (an empty configuration names none).
win_no_sound_device() {
    export PULSE_SERVER=unix:$WIN_PREFIX/no-pulse ALSA_CONFIG_PATH=$WIN_PREFIX/alsa.conf
    : >"$ALSA_CONFIG_PATH"
}

win_launch() {
    e2e_launch "$wine_run" "$WIN_PREFIX" "$program" "$@"
}

# Wine's windows, as xwininfo lists them: its boxes carry the program's class like its main window, and the
# notice box has the main window's title, so a box is told by its size: narrower than the game's 640 pixels.
# win_windows CAPTION: the ids of the program's windows with this title, the boxes (narrow) or the game's (wide).
win_windows() {
    xwininfo -root -tree 2>/dev/null | awk -v title="\"$1\": (\"brikatan.exe\"" -v kind="$2" '
        index($0, title) { split($(NF - 1), size, "x"); if ((size[1] < 640) == (kind == "narrow")) print $1 }'
}

# win_box CAPTION: the id of a box with this caption that is up and can take keys, if there is one.
win_box() {
    local id
    for id in $(win_windows "$1" narrow); do
        xwininfo -id "$id" 2>/dev/null | grep -q IsViewable && { echo "$id"; return 0; }
    done
    return 1
}

# win_press_return WINDOW: Return into the box. Wine takes only the X server's own key events, not sent ones,
# so the box is given the focus first; a box not yet taking keys loses the press, so it is pressed again,
# until the box is gone.
win_press_return() {
    while xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; do
        xdotool windowfocus --sync "$1" key Return 2>/dev/null || true
        sleep 0.3
    done
}

# win_answer_box CAPTION: waits for the box and answers it with its default button.
win_answer_box() {
    local id
    until id=$(win_box "$1"); do
        kill -0 "$GAME_PID" 2>/dev/null || fail "$scenario: no box \"$1\" before the program ended"
        sleep 0.2
    done
    win_press_return "$id"
}

# win_game_window: the id of the game's window, waiting for it. The full-screen question, where it is not
# answered before, is a fault: the screen has the game's mode.
win_game_window() {
    local id
    until id=$(win_windows "PEL2D - TEST" wide) && [ -n "$id" ]; do
        kill -0 "$GAME_PID" 2>/dev/null || fail "$scenario: the game window did not appear"
        ! win_box ERROR >/dev/null || fail "$scenario: the full-screen question was asked"
        sleep 0.2
    done
    echo "$id"
}

# win_answer_until_drawn: answers the "Error" and "Hata" boxes of the start-up as they come, until the game's
# window shows a drawn frame in its last rows (inside a window's frame), where no box reaches; BOXES lists the
# captions answered, in order.
win_answer_until_drawn() {
    local window height id caption
    window=$(win_game_window)
    BOXES=""
    while :; do
        for caption in Error Hata; do
            if id=$(win_box "$caption"); then
                win_press_return "$id"
                BOXES+="$caption "
            fi
        done
        height=$(xwininfo -id "$window" | awk '/Height:/ {print $2}')
        e2e_shows_frame "$window" "600x20+20+$((height - 30))" && [ -z "$(win_box Error)$(win_box Hata)" ] && break
        kill -0 "$GAME_PID" 2>/dev/null || fail "$scenario: the program ended during its start-up"
        sleep 0.3
    done
}

# expect_boxes CAPTIONS: the start-up showed these boxes, in this order (a caption and a star: one or more).
expect_boxes() {
    # shellcheck disable=SC2053 # the captions expected are a pattern
    [[ "$BOXES" == $1 ]] || fail "$scenario: the start-up showed the boxes '$BOXES', not '$1'"
}

# win_check_log: the log is complete and its lines are the Linux program's, the extension list cut out.
win_check_log() {
    local log=$E2E_WORK/pel3dlog.htm
    e2e_log_complete || fail "$scenario: the log is incomplete"
    awk '/^OpenGL Ekran Karti :\r$/ { print; getline; print; skip = 1; next } /Font yuklendi/ { skip = 0 } !skip' \
        "$log" >"$log.cut"
    sed 's/$/\r/' "$here/pel3dlog.expected" | diff - "$log.cut" >&2 ||
        fail "$scenario: the log differs from the Linux program's"
}

# play_and_leave [shots]: a new game from the menu, the paddle swept left then right, Escape back to the menu, F12
# to end; the program ends with status 0. With "shots", F1 after each sweep, and the screenshots show the wall and
# the paddle moved. Escape's teardown takes a pass per entity, so F12 is pressed until it is taken.
play_and_leave() {
    # Start-up is over, and the devices acquired, once a frame answers a key.
    e2e_screenshot started
    win_move_mouse -400 -400
    win_move_mouse 150 110
    click
    win_move_mouse -60 0
    [ -z "${1:-}" ] || e2e_screenshot left
    win_move_mouse 120 0
    [ -z "${1:-}" ] || { e2e_screenshot right && check_play_screenshots; }
    press_key Escape
    while kill -0 "$GAME_PID" 2>/dev/null; do press_key F12; done
    e2e_wait_exit
    [ "$GAME_STATUS" = 0 ] || fail "$scenario: the program exited with status $GAME_STATUS"
    win_check_log
}

# win_move_mouse DX DY: the mouse moved in one motion, where lib.sh's move_mouse makes many. Wine turns the
# pointer's moves into DirectInput's through a hook, and on a loaded machine now and then one goes missing (a
# menu click that fell beside its item, a paddle left where it was, in runs side by side): the fewer the
# moves, the fewer the chances. One motion is past the game's second
# acceleration threshold (doubled) as every step of move_mouse is, so both move the game's cursor alike: from
# the menu, (-400, -400) puts it at (0, 0), and (150, 110) on "<-Yeni Oyun->".
win_move_mouse() {
    xdotool mousemove_relative -- "$1" "$2"
    sleep "$pace"
}

# paddle_cell TGA: where the paddle is, in cells of 10 pixels from the left wall: the mean of its lit cells.
paddle_cell() {
    convert "$1" -auto-orient -crop 620x10+10+437 +repage -scale '62x1!' -depth 8 txt:- |
        awk -F'[(),]' 'NR > 1 && ($3 > 120 || $4 > 120 || $5 > 120) { sum += NR - 2; n++ }
                       END { print n ? int(sum / n) : -1 }'
}

# check_play_screenshots: the wall (many bricks lit, blue and yellow ones), and the paddle well to the right of
# where it was: 120 pixels of mouse, doubled by the acceleration.
check_play_screenshots() {
    local lit blue yellow left right
    read -r lit blue yellow < <(e2e_wall_cells "$E2E_WORK/right.tga")
    [ "$lit" -ge 50 ] && [ "$blue" -ge 10 ] && [ $((yellow * 100)) -ge $((lit * 20)) ] ||
        fail "$scenario: the wall is not in the screenshot (cells lit $lit, blue $blue, yellow $yellow)"
    left=$(paddle_cell "$E2E_WORK/left.tga")
    right=$(paddle_cell "$E2E_WORK/right.tga")
    [ "$left" -ge 0 ] && [ "$right" -ge $((left + 15)) ] ||
        fail "$scenario: the paddle did not follow the mouse (cell $left, then $right)"
}

# One session on a screen: the notice (and the question where asked), the menu, a game, F1, Escape, F12.
play_session() {
    e2e_start_x "$1"
    win_prefix
    win_sound_device
    e2e_workdir "$run"
    win_launch
    win_answer_box "PEL2D - TEST"
    [ "$scenario" != fallback ] || win_answer_box ERROR
    win_answer_until_drawn
    expect_boxes ""
    local geometry
    geometry=$(xwininfo -id "$(win_game_window)" | awk '/-geometry/ {print $2}')
    if [ "$scenario" = fullscreen ]; then
        [ "$geometry" = 640x480+0+0 ] || fail "$scenario: the game is not full screen but $geometry"
    else
        [[ "$geometry" != 640x480* ]] || fail "$scenario: the window has no frame ($geometry)"
    fi
    play_and_leave shots
}

# A start-up that goes wrong in one way (a function breaking the run folder or the sound), the boxes it shows,
# then a game.
fault() {
    scenario=$1
    e2e_workdir "$run"
    "$2"
    win_launch
    win_answer_box "PEL2D - TEST"
    win_answer_until_drawn
    expect_boxes "$3"
    play_and_leave
    rm -rf "$E2E_WORK"
}
no_music() { rm "$E2E_WORK/data/snd/oyun.mp3"; }
# Every other picture missing, which the engine passes over in silence, the rest empty: each of those gives an
# empty bitmap, which cannot be mapped into memory, and its "Error" box.
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
    win_no_sound_device
    fault "no sound device" : ""
    win_sound_device
    fault "no music" no_music "Hata "
    fault "pictures missing or empty" no_images "Error *"
}

# The whole committed game, replayed as fast as it draws; llvmpipe pinned as for the golden frames (tests/golden).
replay() {
    e2e_start_x 640x480x24
    win_prefix
    e2e_workdir "$run"
    export LP_NATIVE_VECTOR_WIDTH=128
    win_launch --timedemo data/demos/game.demo
    e2e_wait_exit
    [ "$GAME_STATUS" = 0 ] || fail "$scenario: the program exited with status $GAME_STATUS"
    grep -qE '^timedemo data/demos/game.demo: 1737 frames, [0-9.]+ seconds, [0-9.]+ frames per second' \
        "$E2E_WORK/stdout.txt" || fail "$scenario: the timedemo printed: $(cat "$E2E_WORK/stdout.txt")"
    win_check_log
    convert "$E2E_WORK/ekrang.tga" -auto-orient "$E2E_WORK/last.png"
    differing=$(compare -metric AE "$here/frames/game-demo-last.png" "$E2E_WORK/last.png" null: 2>&1) ||
        fail "$scenario: the last screenshot differs from the Linux program's in $differing pixels"
    cat "$E2E_WORK/stdout.txt"
}

case $scenario in
    fullscreen) play_session 640x480x16 ;;
    fallback) play_session 1024x768x24 ;;
    faults) faults ;;
    replay) replay ;;
    *) fail "no scenario $scenario" ;;
esac
echo "win32 e2e $5: passed"
