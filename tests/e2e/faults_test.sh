#!/usr/bin/env bash
# The real program with sounds and pictures missing, empty, cut short or garbage, no sound device, or a read-only
# folder: it shows its boxes, draws, plays, and ends cleanly. Arguments: program, run folder, screen kind.
source "$(dirname "$0")/lib.sh"
program=$1 run=$2
e2e_screen "${3:-window}"

# start SCENARIO COMMAND...: the game started in E2E_WORK past its start-up boxes; sets window.
start() {
    scenario=$1 && shift
    e2e_launch "$@"
    e2e_answer_start
    window=$(e2e_game_window)
}

# play_and_close: a drawn frame, a game played, then the window's close ends the program with status 0, its log
# complete where it can be written.
play_and_close() {
    e2e_wait_frame "$window" || fail "$scenario: the window shows no drawn frame"
    click_new_game
    move_mouse -100 0
    move_mouse 200 0
    press_key Escape
    e2e_polled
    "$XCLOSE" "$window"
    e2e_wait_exit
    [ "$GAME_STATUS" = 0 ] || fail "$scenario: the program exited with status $GAME_STATUS"
    [ "$scenario" = "read-only folder" ] || e2e_log_complete || fail "$scenario: the log is incomplete"
}

# answer_errors: an "Error" box per unreadable picture, until the menu is drawn. The boxes leave their pixels on
# a window not yet drawing, so only its bottom rows, which no box reaches, tell a drawn frame.
answer_errors() {
    local id
    while id=$(xwininfo -root -tree | awk '/"Error": \(\)/ {print $1; exit}') &&
        { [ -n "$id" ] || ! e2e_shows_frame "$window" 640x60+0+420; }; do
        [ -z "$id" ] || xdotool key --window "$id" Return 2>/dev/null || true
        e2e_alive || fail "$scenario: the program stopped"
        sleep 0.3
    done
}

fresh() { rm -rf "${E2E_WORK:-}" && e2e_workdir "$run"; }
garble() { printf '\x13\x37garbage\xff\x00' | tee "$@" >/dev/null; }

e2e_start_screen

fresh
rm "$E2E_WORK/data/snd/oyun.mp3" "$E2E_WORK"/data/snd/ses/{tops,yan}.WAV
garble "$E2E_WORK"/data/snd/ses/{patlama,top,ykr}.WAV
start "music missing, sounds missing or garbage" "$program"
e2e_answer_box "Hata"
play_and_close

# No sound card: ALSA starts, its device does not open, and is tried once, not for the music and the sounds each.
fresh
start "no sound device" env SDL_AUDIODRIVER=alsa AUDIODEV=pel-no-such-device "$program"
e2e_wait_frame "$window" || fail "$scenario: the window shows no drawn frame"
xwininfo -root -tree | grep -q '"Hata"' && fail "$scenario: an audio error box appeared"
attempts=$(grep -c 'Unknown PCM pel-no-such-device' "$E2E_WORK/stderr.txt" || true)
[ "$attempts" = 1 ] || fail "$scenario: the device was tried $attempts times"
play_and_close

fresh
index=0
for file in "$E2E_WORK"/data/spr/*.spr "$E2E_WORK"/data/spr/efek/*.spr; do
    case $((index++ % 4)) in
        0) rm "$file" ;; 1) : >"$file" ;; 2) truncate -s $(($(stat -c %s "$file") / 2)) "$file" ;; 3) garble "$file" ;;
    esac
done
start "broken images" "$program"
answer_errors
play_and_close

# Nothing writable but the output files and the waits' screenshot; as root, which ignores that, run as nobody.
fresh
(cd "$E2E_WORK" && rm -f pel3dlog.htm && touch std{out,err}.txt ekrang.tga && chmod 666 std{out,err}.txt ekrang.tga)
find "$E2E_WORK" -type d -exec chmod 555 {} +
RUN_AS=()
[ "$(id -u)" != 0 ] || RUN_AS=(setpriv --reuid=65534 --regid=65534 --clear-groups)
start "read-only folder" "${RUN_AS[@]}" "$program"
play_and_close
written=$(find "$E2E_WORK" -newer "$E2E_WORK/stdout.txt" -type f ! -name 'std*.txt' ! -name ekrang.tga)
[ -z "$written" ] || fail "$scenario: files appeared in a read-only folder: $written"
