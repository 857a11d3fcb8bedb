#!/usr/bin/env bash
# The real program played at random for SOAK_SECONDS (600): new games, the mouse, Escape, over and over. It must
# never crash, keep its resident memory flat after the first game and end cleanly. Arguments: the program, its
# run folder. Not in the default run: ctest -L soak.
here=$(cd "$(dirname "$0")/../e2e" && pwd)
source "$here/lib.sh"
program=$1
run=$2
seconds=${SOAK_SECONDS:-600}
# Allocator and driver caches may move resident memory by this much (kB), growth beyond it.
tolerance_kb=${SOAK_TOLERANCE_KB:-4096}

alive() { e2e_alive || fail "the program ended during the soak (game $games)"; }
# SECONDS of play: the paddle swept at random, now and then a button held to grow or shrink it.
play_randomly() {
    local until=$((SECONDS + $1))
    while [ $SECONDS -lt "$until" ]; do
        xdotool mousemove_relative -- $((RANDOM % 31 - 15)) 0
        case $((RANDOM % 40)) in
            0) xdotool mousedown 1; sleep 0.3; xdotool mouseup 1 ;;
            1) xdotool mousedown 3; sleep 0.3; xdotool mouseup 3 ;;
        esac
        sleep 0.05
    done
}

e2e_start_x 640x480x16
e2e_workdir "$run"
e2e_launch "$program"
e2e_answer_box "PEL2D - TEST"
e2e_game_window >/dev/null

games=0
samples=()
end=$((SECONDS + seconds))
while [ $SECONDS -lt "$end" ]; do
    alive
    click_new_game
    games=$((games + 1))
    play_randomly $((15 + RANDOM % 20))
    alive
    press_key Escape
    samples+=("$(awk '/^VmRSS:/ {print $2}' "/proc/$GAME_PID/status")")
done

e2e_quit
[ "$GAME_STATUS" = 0 ] || fail "the program exited with status $GAME_STATUS"
e2e_log_complete || fail "the log is incomplete"
[ "${#samples[@]}" -ge 2 ] || fail "the soak was too short to compare memory (${#samples[@]} games)"
first=${samples[0]}
highest=$(printf '%s\n' "${samples[@]}" | sort -n | tail -n 1)
echo "soak: $games games in $seconds s; resident after the first game $first kB, highest $highest kB"
[ $((highest - first)) -le "$tolerance_kb" ] ||
    fail "resident memory grew by $((highest - first)) kB after the first game"
echo "soak: passed"
