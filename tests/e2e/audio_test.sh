#!/usr/bin/env bash
# The real program's sound, heard through SDL's "disk" audio driver, which writes the mixed output to a file:
# the music plays from start-up on; without the music file the game says so once and still runs.
# Arguments: the brikatan program, its run folder.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
program=$1
run=$2
: "${XCLOSE:?the xclose helper is needed}"
export SDL_AUDIODRIVER=disk

# RMS level in dB of a raw output file (signed 16-bit stereo at 44100 Hz); -inf for silence.
rms_db() {
    sox -t raw -r 44100 -e signed -b 16 -c 2 "$1" -n stats 2>&1 | awk '/^RMS lev dB/ {print $4}'
}

# play_and_close: the notice answered, the game left running for a few seconds, then its window closed.
play_and_close() {
    local window
    window=$(e2e_game_window)
    sleep 3
    "$XCLOSE" "$window"
    e2e_wait_exit
    [ "$GAME_STATUS" = 0 ] || fail "the program exited with status $GAME_STATUS"
}

e2e_start_x 1024x768x24
e2e_workdir "$run"
export SDL_DISKAUDIOFILE=$E2E_WORK/music.raw
e2e_launch "$program"
e2e_answer_box "PEL2D - TEST"
e2e_answer_box "ERROR"
play_and_close
xwininfo -root -tree | grep -q '"Hata"' && fail "an audio error box appeared"
level=$(rms_db "$E2E_WORK/music.raw")
echo "music level: $level dB"
awk -v level="$level" 'BEGIN { exit !(level != "-inf" && level > -40) }' || fail "the music is not heard ($level dB)"
rm -rf "$E2E_WORK"

e2e_workdir "$run"
rm "$E2E_WORK/data/snd/oyun.mp3"
export SDL_DISKAUDIOFILE=$E2E_WORK/silent.raw
e2e_launch "$program"
e2e_answer_box "PEL2D - TEST"
e2e_answer_box "ERROR"
e2e_answer_box "Hata"
play_and_close
level=$(rms_db "$E2E_WORK/silent.raw")
[ "$level" = "-inf" ] || fail "something sounds without the music file ($level dB)"
echo "e2e audio: passed"
