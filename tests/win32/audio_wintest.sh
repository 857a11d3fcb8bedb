#!/usr/bin/env bash
# The Windows sound and media backend under Wine (audio_wintest.cpp), with no output device at all, then on a
# PulseAudio null sink of the test's own: its transcripts compared whole.
#   audio_wintest.sh PROGRAM MP3 PREFIX
# Needs an X server (the graph's notices go through a window) that outlives the Wine session.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
program=$1
prefix=$(realpath -m "$3")
E2E_WORK=$(mktemp -d)
trap 'WINEPREFIX=$prefix wineserver -w || true; e2e_cleanup' EXIT

# The first 21000 bytes of the 112 kbit/s track: 1.5 s of music, cut between two frames as a decoder must bear.
mkdir -p "$E2E_WORK/data/snd"
head -c 21000 "$2" >"$E2E_WORK/data/snd/oyun.mp3"
run() {
    (cd "$E2E_WORK" && "$here/../../scripts/wine-run" "$prefix" "$program" "$1" 1500) | tr -d '\r' >"$E2E_WORK/$1"
    diff -u - "$E2E_WORK/$1" || fail "$1: the backend reported otherwise"
}
music='rendered ok
run ok: ended after its length, then E_ABORT
rewound ok: ended after its length, then E_ABORT
stopped and run again ok: ended after its length, then E_ABORT
stopped ok
graph released, gone
missing track FILE_NOT_FOUND
graph released, gone'

win_no_sound_device "$E2E_WORK"
run no-device <<EOF
window 1, COM ok
device DSERR_NODRIVER, none 1
$music
EOF

win_sound_device "$E2E_WORK"
run device <<EOF
window 1, COM ok
device ok, cooperative level ok
buffer ok, tone written 1
duplicate ok, same samples 1, status 0 0
copy ok
original: play ok, status 1, ended after its length
original again: play ok, status 1, ended after its length
copy status 0
position ok at 4000, loop ok status 5, stop ok status 0, rewind ok at 0, restore ok
copy without the device: play ok, status 1, ended after its length
$music
EOF
