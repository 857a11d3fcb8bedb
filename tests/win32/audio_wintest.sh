#!/usr/bin/env bash
# The Windows sound and media backend under Wine: first with no output device at all, then on a PulseAudio
# null sink of the test's own, which gives DirectSound and DirectShow a device that keeps real time.
# Arguments: the test program, the game's MP3, the Wine prefix to run it in. Needs an X server (the graph's
# notices go through a window), which must outlive the Wine session: the test waits for the session's end.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$1
mp3=$2
prefix=$(realpath -m "$3")

work=$(mktemp -d)
server=
cleanup() {
    WINEPREFIX=$prefix wineserver -w || true
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
    (cd "$work" && "$here/../../scripts/wine-run" "$prefix" "$program" "$@") | tee "$work/out.txt"
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
