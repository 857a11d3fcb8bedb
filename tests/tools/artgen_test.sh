#!/usr/bin/env bash
# artgen draws the same pictures on every run, all of them, with sides that are powers of two.
#   artgen_test.sh ARTGEN
set -euo pipefail
artgen=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$artgen" "$work/a"
"$artgen" "$work/b"
diff -r "$work/a" "$work/b" >/dev/null || { echo "two runs differ"; exit 1; }
count=$(find "$work/a" -name '*.bmp' | wc -l)
[ "$count" -eq 29 ] || { echo "expected 29 pictures, got $count"; exit 1; }
power_of_two() { [ "$1" -gt 0 ] && [ $(( $1 & ($1 - 1) )) -eq 0 ]; }
for bmp in $(find "$work/a" -name '*.bmp'); do
    read -r width height < <(od -An -tu4 -j18 -N8 "$bmp")
    power_of_two "$width" && power_of_two "$height" || { echo "$bmp is ${width}x${height}"; exit 1; }
done
# The font sheet is white on black: every pixel grey (R = G = B).
od -An -v -tu1 -j54 -w3 "$work/a/font.bmp" | awk '$1 != $2 || $2 != $3 { bad = 1 } END { exit bad }' ||
    { echo "font sheet is not grey"; exit 1; }
