#!/usr/bin/env bash
# icongen draws the committed menu icons byte for byte, as PNGs that ImageMagick reads back as the window icon:
# the field's deep blue in the corner, the white ball, a red brick at the top. Bad arguments are refused.
#   icongen_test.sh ICONGEN ICON_FOLDER
set -euo pipefail
icongen=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}

for size in 32 48 64 128; do
    png=$work/icon-$size.png
    "$icongen" "$size" "$png"
    cmp -s "$png" "$2/brikatan-$size.png" || fail "the committed $size px icon is not what icongen draws"
    [ "$(identify -format '%m %wx%h' "$png")" = "PNG ${size}x${size}" ] || fail "$size px: not a ${size}x${size} PNG"
    # Points of the 32-pixel grid, scaled: x y "r,g,b".
    for point in "0 0 12,24,64" "$((size / 2)) $((size * 23 / 32)) 255,255,255" "$((size / 16)) $((size * 5 / 32)) 230,70,40"; do
        read -r x y rgb <<<"$point"
        seen=$(convert "$png" -format "%[fx:int(255*u.p{$x,$y}.r)],%[fx:int(255*u.p{$x,$y}.g)],%[fx:int(255*u.p{$x,$y}.b)]" info:)
        [ "$seen" = "$rgb" ] || fail "$size px: ($x, $y) is $seen, not $rgb"
    done
done

status=0
"$icongen" 8 "$work/small.png" 2>/dev/null || status=$?
[ "$status" = 2 ] && [ ! -e "$work/small.png" ] || fail "a size below 16 was not refused"
status=0
"$icongen" 64 "$work/missing/icon.png" 2>/dev/null || status=$?
[ "$status" = 1 ] || fail "an unwritable output did not fail"
echo "icongen: 4 sizes drawn as committed"
