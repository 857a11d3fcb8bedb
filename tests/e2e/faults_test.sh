#!/usr/bin/env bash
# The real program started with something wrong in its run folder or its surroundings: it reaches the menu, keeps
# drawing, and ends cleanly when its window is closed. Arguments: the brikatan program, its run folder.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
program=$1
run=$2
: "${XCLOSE:?the xclose helper is needed}"

# On a screen without the game's mode: the notice, then the windowed fallback question, both answered.
start_windowed() {
    e2e_launch "$@"
    e2e_answer_box "PEL2D - TEST"
    e2e_answer_box "ERROR"
}

# wait_frame WINDOW: the window comes to show something other than black.
wait_frame() {
    local deadline=$((SECONDS + 30))
    while :; do
        import -window "$1" "$E2E_WORK/frame.png" 2>/dev/null || fail "$scenario: cannot read the window's pixels"
        [ "$(convert "$E2E_WORK/frame.png" -format '%[fx:maxima]' info:)" != "0" ] && return 0
        [ $SECONDS -lt "$deadline" ] || fail "$scenario: the window shows no drawn frame"
        sleep 0.5
    done
}

# close_and_check WINDOW: the game still runs, closes on request with status 0 and a complete log.
close_and_check() {
    sleep 2
    kill -0 "$GAME_PID" 2>/dev/null || fail "$scenario: the program stopped by itself"
    "$XCLOSE" "$1"
    e2e_wait_exit 20
    [ "$GAME_STATUS" = 0 ] || fail "$scenario: the program exited with status $GAME_STATUS"
    e2e_log_complete || fail "$scenario: the log is incomplete"
    rm -rf "$E2E_WORK"
}

# garble FILE...: replaces each file's contents with a few bytes that are no valid image or sound.
garble() {
    local file
    for file in "$@"; do printf '\x13\x37garbage\xff\x00' >"$file"; done
}

e2e_start_x 1024x768x24

scenario="no music"
e2e_workdir "$run"
rm "$E2E_WORK/data/snd/oyun.mp3"
start_windowed "$program"
window=$(e2e_game_window)
e2e_answer_box "Hata"
wait_frame "$window"
close_and_check "$window"

scenario="no sound device"
e2e_workdir "$run"
start_windowed env SDL_AUDIODRIVER=nonexistent_driver "$program"
window=$(e2e_game_window)
wait_frame "$window"
xwininfo -root -tree | grep -q '"Hata"' && fail "$scenario: an audio error box appeared"
close_and_check "$window"

scenario="no font"
e2e_workdir "$run"
rm "$E2E_WORK/data/spr/font.spr"
start_windowed "$program"
window=$(e2e_game_window)
wait_frame "$window"
xwininfo -root -tree | grep -qE '"(Hata|Error)": \(\)' && fail "$scenario: an error box appeared"
close_and_check "$window"

scenario="corrupt sounds"
e2e_workdir "$run"
garble "$E2E_WORK"/data/snd/ses/*.WAV
start_windowed "$program"
window=$(e2e_game_window)
wait_frame "$window"
close_and_check "$window"

echo "e2e faults: passed"
