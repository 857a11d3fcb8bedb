#!/usr/bin/env bash
# The real program played at random for SOAK_SECONDS (600), never crashing, its resident memory flat after the
# first game, ending cleanly. Arguments: the program, its run folder. Not in the default run: ctest -L soak.
source "$(dirname "$0")/../e2e/lib.sh"
program=$1 run=$2 seconds=${SOAK_SECONDS:-600}
tolerance_kb=${SOAK_TOLERANCE_KB:-4096} # what allocator and driver caches may move

# SECONDS of play: the paddle swept at random, now and then a button held to grow or shrink it.
play_randomly() {
    local until=$((SECONDS + $1))
    while [ $SECONDS -lt "$until" ]; do
        xdotool mousemove_relative -- $((RANDOM % 31 - 15)) 0
        button=$((RANDOM % 40 * 2 + 1)) # 1 or 3, one time in twenty
        [ "$button" -gt 3 ] || { xdotool mousedown $button; sleep 0.3; xdotool mouseup $button; }
        sleep 0.05
    done
}

e2e_start_x 640x480x16
e2e_workdir "$run"
e2e_launch "$program"
e2e_answer_box "PEL2D - TEST"
e2e_game_window >/dev/null

samples=() end=$((SECONDS + seconds))
while [ $SECONDS -lt "$end" ]; do
    click_new_game
    play_randomly $((15 + RANDOM % 20))
    press_key Escape
    samples+=("$(awk '/^VmRSS:/ {print $2}' "/proc/$GAME_PID/status")")
done

e2e_quit
[ "$GAME_STATUS" = 0 ] || fail "the program exited with status $GAME_STATUS"
e2e_log_complete || fail "the log is incomplete"
[ "${#samples[@]}" -ge 2 ] || fail "the soak was too short to compare memory (${#samples[@]} games)"
first=${samples[0]}
highest=$(printf '%s\n' "${samples[@]}" | sort -n | tail -n 1)
[ $((highest - first)) -le "$tolerance_kb" ] ||
    fail "resident memory grew from $first to $highest kB after the first of ${#samples[@]} games"
