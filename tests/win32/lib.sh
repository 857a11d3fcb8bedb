# shellcheck shell=bash
# Helpers for the tests under Wine, beside tests/e2e/lib.sh's. Source this file.
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"

# win_sound_device DIR: a PulseAudio server with a null sink, of this run's own, for DirectSound and DirectShow,
# which keeps real time as a sound card does.
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

# win_no_sound_device DIR: as on a machine without a sound card: no PulseAudio server where it is looked for,
# and no ALSA device (an empty configuration names none), whatever this machine has.
win_no_sound_device() {
    export PULSE_SERVER=unix:$1/no-pulse ALSA_CONFIG_PATH=$1/alsa.conf
    : >"$ALSA_CONFIG_PATH"
}

# win_windows CAPTION narrow|wide: the ids of brikatan.exe's windows with this title. Wine's boxes carry the
# program's class like its main window, and the notice has the main window's title: a box is narrower than 640.
win_windows() {
    xwininfo -root -tree 2>/dev/null | awk -v title="\"$1\": (\"brikatan.exe\"" -v kind="$2" '
        index($0, title) { split($(NF - 1), size, "x"); if ((size[1] < 640) == (kind == "narrow")) print $1 }'
}

# win_answer CAPTION: Return in every shown box with this caption until it closes; fails if none was shown.
# Wine takes only the X server's own key events, so the box gets the focus first; one not yet taking keys
# loses the press.
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

# win_start_up BOXES: the start-up's boxes answered as they come until the game's window (WINDOW) shows a frame
# in its last rows, which no box reaches. The captions answered, each followed by "|", must match the pattern
# BOXES. GAME_PID is the game, or the Wine server it runs in.
win_start_up() {
    local caption drawn boxes="" answered
    while :; do
        kill -0 "$GAME_PID" 2>/dev/null || fail "the program ended during its start-up ($boxes)"
        WINDOW=$(win_windows "PEL2D - TEST" wide)
        drawn=""
        [ -z "$WINDOW" ] || ! e2e_shows_frame "$WINDOW" \
            "600x20+20+$(($(xwininfo -id "$WINDOW" | awk '/Height:/ {print $2}') - 30))" || drawn=yes
        answered=""
        for caption in "PEL2D - TEST" ERROR Error Hata; do
            win_answer "$caption" && boxes+="$caption|" && answered=yes
        done
        [ -n "$drawn" ] && [ -z "$answered" ] && break
        sleep 0.3
    done
    # shellcheck disable=SC2053 # a pattern
    [[ "$boxes" == $1 ]] || fail "the start-up showed the boxes '$boxes', not '$1'"
}
