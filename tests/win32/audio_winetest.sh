#!/usr/bin/env bash
# The Windows sound and media backend under Wine: first with no output device at all, then on a PulseAudio
# null sink of the test's own, which gives DirectSound and DirectShow a device that keeps real time.
# Arguments: the test program, the game's MP3, then the command that runs Windows programs (wine when none).
# Needs an X server (the program makes a window for the graph to notify).
set -euo pipefail
program=$1
mp3=$2
shift 2
emulator=("$@")
[ ${#emulator[@]} -gt 0 ] || emulator=(wine)

work=$(mktemp -d)
server=
cleanup() {
    if [ -n "$server" ]; then
        kill "$server" 2>/dev/null || true
        wait "$server" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The first 21000 bytes of the 112 kbit/s track: 1.5 s of music, cut between two frames' worth of bytes as any
# decoder must bear.
mkdir -p "$work/data/snd" "$work/pulse"
head -c 21000 "$mp3" >"$work/data/snd/oyun.mp3"
track_ms=1500

# Both runs look for PulseAudio only where this test puts it, and find no ALSA device (an empty configuration
# names none), whatever the machine has.
export XDG_RUNTIME_DIR="$work/pulse" PULSE_RUNTIME_PATH="$work/pulse" PULSE_SERVER="unix:$work/pulse/native"
: >"$work/alsa.conf"
export ALSA_CONFIG_PATH="$work/alsa.conf"
run() {
    (cd "$work" && "${emulator[@]}" "$program" "$@") | tee "$work/out.txt"
    grep -q "^$1: 0 failures" "$work/out.txt" || fail "$1"
}

run no-device "$track_ms"

pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --log-target=stderr \
    -L module-null-sink -L "module-native-protocol-unix auth-anonymous=1 socket=$work/pulse/native" \
    2>"$work/pulse.log" &
server=$!
# Ready when it answers; gone means it could not start.
until pactl info >/dev/null 2>&1; do
    kill -0 "$server" 2>/dev/null || fail "PulseAudio did not start: $(cat "$work/pulse.log")"
    sleep 0.1
done

run device "$track_ms"
