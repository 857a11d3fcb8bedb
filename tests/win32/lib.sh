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
