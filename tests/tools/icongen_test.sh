#!/usr/bin/env bash
# icongen draws the committed menu icons byte for byte, as PNGs that ImageMagick reads back as the window icon:
# bricks at the top, the white ball, the field's deep blue in the corners. Bad arguments are refused.
#   icongen_test.sh ICONGEN ICON_FOLDER
set -euo pipefail
icongen=$1
icons=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}

pixel() {  # pixel FILE X Y: "r,g,b" as ImageMagick decodes it
    convert "$1" -format "%[fx:int(255*u.p{$2,$3}.r)],%[fx:int(255*u.p{$2,$3}.g)],%[fx:int(255*u.p{$2,$3}.b)]" info:
}

for size in 32 48 64 128; do
    png=$work/icon-$size.png
    "$icongen" "$size" "$png"
    cmp -s "$png" "$icons/brikatan-$size.png" || fail "the committed $size px icon is not what icongen draws"
    [ "$(identify -format '%m %wx%h' "$png")" = "PNG ${size}x${size}" ] || fail "$size px: not a ${size}x${size} PNG"
    # The window icon's points, scaled from its 32-pixel grid.
    [ "$(pixel "$png" 0 0)" = "12,24,64" ] || fail "$size px: the corner is $(pixel "$png" 0 0)"
    [ "$(pixel "$png" $((size / 2)) $((size * 23 / 32)))" = "255,255,255" ] || fail "$size px: no white ball"
    [ "$(pixel "$png" $((size / 16)) $((size * 5 / 32)))" = "230,70,40" ] || fail "$size px: no red brick"
done

status=0
"$icongen" 8 "$work/small.png" 2>/dev/null || status=$?
[ "$status" = 2 ] && [ ! -e "$work/small.png" ] || fail "a size below 16 was not refused"
status=0
"$icongen" 64 "$work/missing/icon.png" 2>/dev/null || status=$?
[ "$status" = 1 ] || fail "an unwritable output did not fail"
echo "icongen: 4 sizes drawn as committed"
