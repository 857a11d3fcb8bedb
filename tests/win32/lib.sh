# shellcheck shell=bash
# Helpers for the tests under Wine, beside tests/e2e/lib.sh's. Source this file.
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"

# win_sound_device DIR: a PulseAudio server of this run's own whose null sink keeps real time as a sound card.
win_sound_device() {
    local dir
    dir=$(mktemp -d "$1/pulse.XXXXXX")
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

# win_no_sound_device DIR: no PulseAudio server where it is looked for, no ALSA device (an empty configuration).
win_no_sound_device() {
    export PULSE_SERVER=unix:$1/no-pulse ALSA_CONFIG_PATH=$1/alsa.conf
    : >"$ALSA_CONFIG_PATH"
}

# win_windows CAPTION narrow|wide: brikatan.exe's windows with this title; a box (the notice has the game
# window's title and class) is narrower than 640.
win_windows() {
    xwininfo -root -tree 2>/dev/null | awk -v title="\"$1\": (\"brikatan.exe\"" -v kind="$2" '
        index($0, title) { split($(NF - 1), size, "x"); if ((size[1] < 640) == (kind == "narrow")) print $1 }' ||
        true # the listing fails when a window goes during it: the next look sees the rest
}

# win_answer CAPTION: Return in each shown box with this caption until it closes; fails if none was shown.
# Wine takes only the X server's own key events: the box gets the focus first, and a press may be lost.
win_answer() {
    local id none=1
    for id in $(win_windows "$1" narrow); do
        while xwininfo -id "$id" 2>/dev/null | grep -q IsViewable; do
            xdotool windowfocus --sync "$id" key Return 2>/dev/null || true
            none=0
            sleep 0.3
        done
    done
    return $none
}

# win_start_up BOXES: the boxes answered until the game's WINDOW shows a frame in its last rows, which no box
# reaches; the captions answered, each with "|", must match BOXES. GAME_PID: the game or its Wine server.
win_start_up() {
    local caption drawn boxes="" before
    while :; do
        kill -0 "$GAME_PID" 2>/dev/null || fail "the program ended during its start-up ($boxes)"
        WINDOW=$(win_windows "PEL2D - TEST" wide)
        drawn=""
        [ -z "$WINDOW" ] || ! e2e_shows_frame "$WINDOW" \
            "600x20+20+$(($(xwininfo -id "$WINDOW" | awk '/Height:/ {print $2}') - 30))" || drawn=yes
        before=$boxes
        for caption in "PEL2D - TEST" ERROR Error Hata; do win_answer "$caption" && boxes+="$caption|"; done
        [ -n "$drawn" ] && [ "$boxes" = "$before" ] && break
        sleep 0.3
    done
    # shellcheck disable=SC2053 # a pattern
    [[ "$boxes" == $1 ]] || fail "the start-up showed the boxes '$boxes', not '$1'"
}
