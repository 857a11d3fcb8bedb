#!/usr/bin/env bash
# A session played with --record (a new game, the paddle moved, F1, closed in play) replays into the same log and
# screenshot; --timedemo of the committed game prints its line, the music heard. Arguments: program, run folder.
source "$(dirname "$0")/lib.sh"
program=$1 run=$2
session=$(mktemp)
trap 'rm -rf "$session" "$session.raw" "${recorded:-}"; e2e_cleanup' EXIT

# replay OPTION FILE: the program on a recording in a fresh copy of the run folder, to its end.
replay() {
    e2e_workdir "$run"
    e2e_launch "$program" "$@"
    e2e_wait_exit
    [ "$GAME_STATUS" = 0 ] || fail "$1 exited with status $GAME_STATUS"
}

e2e_start_x 640x480x16
e2e_workdir "$run"
e2e_launch "$program" --record "$session"
e2e_answer_box "PEL2D - TEST"
window=$(e2e_game_window)
click_new_game
move_mouse 100 0
e2e_polled
"$XCLOSE" "$window"
e2e_wait_exit
[ "$GAME_STATUS" = 0 ] || fail "the recorded run exited with status $GAME_STATUS"
recorded=$E2E_WORK
e2e_start_x 640x480x16
replay --replay "$session"
cmp "$recorded/pel3dlog.htm" "$E2E_WORK/pel3dlog.htm" || fail "the replay's log differs"
cmp "$recorded/ekrang.tga" "$E2E_WORK/ekrang.tga" || fail "the replay's screenshot differs"
rm -rf "$recorded" "$E2E_WORK"

# Heard through SDL's "disk" driver: signed 16-bit stereo at 44100 Hz.
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$session.raw
replay --timedemo data/demos/game.demo
grep -qE '^timedemo data/demos/game.demo: [0-9]+ frames, [0-9.]+ seconds, [0-9.]+ frames per second$' \
    "$E2E_WORK/stdout.txt" || fail "the timedemo printed: $(cat "$E2E_WORK/stdout.txt")"
level=$(sox -t raw -r 44100 -e signed -b 16 -c 2 "$session.raw" -n stats 2>&1 | awk '/^RMS lev dB/ {print $4}')
awk -v level="$level" 'BEGIN { exit !(level != "-inf" && level > -40) }' || fail "the music is not heard ($level dB)"

