#!/usr/bin/env bash
# artgen_test.sh ARTGEN: artgen draws the same pictures on every run, all of them, with sides powers of two.
source "$(dirname "$0")/../e2e/lib.sh"
artgen=$1 E2E_WORK=$(mktemp -d) work=$E2E_WORK
"$artgen" "$work/a"
"$artgen" "$work/b"
diff -r "$work/a" "$work/b" >/dev/null || fail "two runs differ"
count=$(find "$work/a" -name '*.bmp' | wc -l)
[ "$count" -eq 29 ] || fail "expected 29 pictures, got $count"
power_of_two() { [ "$1" -gt 0 ] && [ $(( $1 & ($1 - 1) )) -eq 0 ]; }
for bmp in $(find "$work/a" -name '*.bmp'); do
    read -r width height < <(od -An -tu4 -j18 -N8 "$bmp")
    power_of_two "$width" && power_of_two "$height" || fail "$bmp is ${width}x${height}"
done
# The font sheet is white on black: every pixel grey (R = G = B).
od -An -v -tu1 -j54 -w3 "$work/a/font.bmp" | awk '$1 != $2 || $2 != $3 { bad = 1 } END { exit bad }' ||
    fail "font sheet is not grey"
