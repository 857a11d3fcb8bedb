#!/usr/bin/env bash
# icongen_test.sh ICONGEN ICON_FOLDER: icongen draws the committed menu icons byte for byte (the window icon's
# art; launcher_test.sh reads them as PNGs of their sizes). Bad arguments are refused.
source "$(dirname "$0")/../e2e/lib.sh"
icongen=$1 E2E_WORK=$(mktemp -d) work=$E2E_WORK

for size in 32 48 64 128; do
    png=$work/icon-$size.png
    "$icongen" "$size" "$png"
    cmp -s "$png" "$2/brikatan-$size.png" || fail "the committed $size px icon is not what icongen draws"
done

status=0
"$icongen" 8 "$work/small.png" 2>/dev/null || status=$?
[ "$status" = 2 ] && [ ! -e "$work/small.png" ] || fail "a size below 16 was not refused"
status=0
"$icongen" 64 "$work/missing/icon.png" 2>/dev/null || status=$?
[ "$status" = 1 ] || fail "an unwritable output did not fail"
