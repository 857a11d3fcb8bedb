#!/usr/bin/env bash
# The sound and media probe under Wine with no output device, then on a null sink of the test's own, both
# transcripts compared with audio.expected:   audio_wintest.sh PROBE MP3 PREFIX   (on an X server)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
prefix=$(realpath -m "$3")
E2E_WORK=$(mktemp -d)
trap 'WINEPREFIX=$prefix wineserver -w || true; e2e_cleanup' EXIT
# The first 21000 bytes of the 112 kbit/s track: 1.5 s of music, cut between two frames as a decoder must bear.
mkdir -p "$E2E_WORK/data/snd"
head -c 21000 "$2" >"$E2E_WORK/data/snd/oyun.mp3"
run() { (cd "$E2E_WORK" && "$here/../../scripts/wine-run" "$prefix" "$1") | tr -d '\r' >>"$E2E_WORK/out"; }
win_no_sound_device "$E2E_WORK"
run "$1"
win_sound_device "$E2E_WORK"
run "$1"
diff -u "$here/audio.expected" "$E2E_WORK/out" || fail "the backend reported otherwise"
