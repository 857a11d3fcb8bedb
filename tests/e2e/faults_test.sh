#!/usr/bin/env bash
# The real program started with something wrong in its run folder or its surroundings: the music and every
# sound missing or garbage, no sound device, every picture missing, empty, cut short or garbage, a working
# folder where nothing can be written. Each time it shows its boxes, reaches the menu, keeps drawing,
# plays where that is checked, and ends cleanly when its window is closed. Arguments: the brikatan program, its
# run folder, the screen kind (lib.sh; window when not given).
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
program=$1
run=$2
e2e_screen "${3:-window}"
: "${XCLOSE:?the xclose helper is needed}"

start_game() {
    e2e_launch "$@"
    e2e_answer_start
}

# wait_frame WINDOW: the window comes to show something other than black.
wait_frame() {
    e2e_wait_frame "$1" || fail "$scenario: the window shows no drawn frame"
}

# close_cleanly WINDOW: the game still runs its frames, and closes on request with status 0.
close_cleanly() {
    e2e_polled
    "$XCLOSE" "$1"
    e2e_wait_exit
    [ "$GAME_STATUS" = 0 ] || fail "$scenario: the program exited with status $GAME_STATUS"
}

# close_and_check WINDOW: closes cleanly and leaves a complete log.
close_and_check() {
    close_cleanly "$1"
    e2e_log_complete || fail "$scenario: the log is incomplete"
    rm -rf "$E2E_WORK"
}

# play_a_game: a new game from the menu, the paddle swept both ways, Escape back to the menu.
play_a_game() {
    click_new_game
    move_mouse -100 0
    move_mouse 200 0
    press_key Escape
}

# answer_errors: answers the image reader's "Error" boxes, one per unreadable picture, until the menu is drawn.
# The boxes open over the middle of the screen and leave their pixels behind on a window that is not drawing
# yet, so only the window's bottom rows, which no box reaches, tell a drawn frame.
answer_errors() {
    local window id
    window=$(e2e_game_window)
    while id=$(xwininfo -root -tree | awk '/"Error": \(\)/ {print $1; exit}') &&
        { [ -n "$id" ] || ! e2e_shows_frame "$window" 640x60+0+420; }; do
        [ -z "$id" ] || xdotool key --window "$id" Return 2>/dev/null || true
        kill -0 "$GAME_PID" 2>/dev/null || fail "$scenario: the program stopped"
        sleep 0.3
    done
}

# break_images: every picture of the game missing, empty, cut in half or garbage, in turn.
break_images() {
    local file index=0
    for file in "$E2E_WORK"/data/spr/*.spr "$E2E_WORK"/data/spr/efek/*.spr; do
        case $((index % 4)) in
            0) rm "$file" ;;
            1) : >"$file" ;;
            2) head -c "$(($(stat -c %s "$file") / 2))" "$file" >"$file.half" && mv "$file.half" "$file" ;;
            3) garble "$file" ;;
        esac
        index=$((index + 1))
    done
}

# make_read_only: nothing in the working folder can be written (the output files of e2e_launch excepted, and the
# screenshot, by which the test learns that frames go on). Root ignores write permissions, so as root the
# program runs as nobody; RUN_AS holds the command prefix for that.
make_read_only() {
    rm -f "$E2E_WORK/pel3dlog.htm"
    touch "$E2E_WORK/stdout.txt" "$E2E_WORK/stderr.txt" "$E2E_WORK/ekrang.tga"
    chmod 666 "$E2E_WORK/stdout.txt" "$E2E_WORK/stderr.txt" "$E2E_WORK/ekrang.tga"
    find "$E2E_WORK" -type d -exec chmod 555 {} +
    RUN_AS=()
    [ "$(id -u)" != 0 ] || RUN_AS=(setpriv --reuid=65534 --regid=65534 --clear-groups)
}

# garble FILE...: replaces each file's contents with a few bytes that are no valid image or sound.
garble() {
    local file
    for file in "$@"; do printf '\x13\x37garbage\xff\x00' >"$file"; done
}

e2e_start_screen

scenario="music missing, sounds missing or garbage"
e2e_workdir "$run"
rm "$E2E_WORK/data/snd/oyun.mp3" "$E2E_WORK"/data/snd/ses/{tops,yan}.WAV
garble "$E2E_WORK"/data/snd/ses/{patlama,top,ykr}.WAV
start_game "$program"
window=$(e2e_game_window)
e2e_answer_box "Hata"
wait_frame "$window"
play_a_game
close_and_check "$window"

# As on a machine without a sound card: SDL's ALSA driver starts, but its device does not open. ALSA reports
# each attempt on stderr; the device is tried once, not once for the music and again for the sounds.
scenario="no sound device"
e2e_workdir "$run"
start_game env SDL_AUDIODRIVER=alsa AUDIODEV=pel-no-such-device "$program"
window=$(e2e_game_window)
wait_frame "$window"
xwininfo -root -tree | grep -q '"Hata"' && fail "$scenario: an audio error box appeared"
attempts=$(grep -c 'Unknown PCM pel-no-such-device' "$E2E_WORK/stderr.txt" || true)
[ "$attempts" = 1 ] || fail "$scenario: the device was tried $attempts times"
close_and_check "$window"

scenario="broken images"
e2e_workdir "$run"
break_images
start_game "$program"
answer_errors
window=$(e2e_game_window)
wait_frame "$window"
play_a_game
close_and_check "$window"

scenario="read-only folder"
e2e_workdir "$run"
make_read_only
start_game "${RUN_AS[@]}" "$program"
window=$(e2e_game_window)
wait_frame "$window"
play_a_game
close_cleanly "$window"
written=$(find "$E2E_WORK" -newer "$E2E_WORK/stdout.txt" -type f ! -name 'std*.txt' ! -name ekrang.tga)
[ -z "$written" ] || fail "$scenario: files appeared in a read-only folder: $written"
chmod -R u+w "$E2E_WORK"
rm -rf "$E2E_WORK"

echo "e2e faults: passed"
