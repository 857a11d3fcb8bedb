#!/usr/bin/env bash
# Regenerates the game's sounds into data/snd: make-sounds.sh [path of the soundgen binary]
# The effects are written as WAV files; the music loop is encoded with lame at 112 kbit/s. lame's header keeps
# the encoder delay and padding, which the decoder removes, so the track still loops without a gap.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
soundgen=${1:-$root/build/dev/tools/soundgen/soundgen}
out=$root/data/snd
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/ses" "$out/ses"
"$soundgen" "$work"
cp "$work"/ses/*.WAV "$out/ses/"
lame --quiet -q 2 --cbr -b 112 "$work/oyun.wav" "$out/oyun.mp3"
