#!/usr/bin/env bash
# Golden frames: the committed demos replayed and chosen frames compared pixel for pixel with the reference
# images in tests/golden/frames. A frame that differs fails the test and leaves the new frame and a difference
# image in golden-diff/ under the current folder.
#   golden_test.sh GOLDEN_REPLAY RUN_FOLDER            compare
#   golden_test.sh GOLDEN_REPLAY RUN_FOLDER --update   write the reference images anew (a change that is meant)
# Mesa's llvmpipe picks its vector width from the processor, which changes the low bits of blended pixels; the
# width is pinned to 128 bits, which every x86_64 processor has, and checked.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/lib.sh"
harness=$(readlink -f "$1")
run=$2
update=${3:-}
frames_dir=$here/frames
# demo: the frames compared (the menu with its scrolling bands, the cursor and the hovered item; play with the
# full wall, with the grown ball and paddle after hits, and the second wall).
declare -A FRAMES=([menu]="180" [game]="300 600 1400")
export LP_NATIVE_VECTOR_WIDTH=128

e2e_start_x 640x480x24
e2e_workdir "$run"
failed=0
for demo in "${!FRAMES[@]}"; do
    mkdir -p "$E2E_WORK/$demo"
    # shellcheck disable=SC2086 # the frame numbers are separate arguments
    (cd "$E2E_WORK" && "$harness" "data/demos/$demo.demo" "$demo" ${FRAMES[$demo]}) >"$E2E_WORK/$demo.out" 2>&1 ||
        fail "the replay of $demo.demo failed: $(grep -v ALSA "$E2E_WORK/$demo.out")"
    grep -q '^renderer: llvmpipe.* 128 bits' "$E2E_WORK/$demo.out" ||
        fail "golden frames are drawn by llvmpipe at 128 bits, not by $(grep '^renderer' "$E2E_WORK/$demo.out")"
    for frame in ${FRAMES[$demo]}; do
        name=$demo-$frame
        convert "$E2E_WORK/$demo/$frame.tga" -auto-orient -strip -define png:compression-level=9 "$E2E_WORK/$name.png"
        if [ "$update" = --update ]; then
            cp "$E2E_WORK/$name.png" "$frames_dir/$name.png"
        elif ! differing=$(compare -metric AE "$frames_dir/$name.png" "$E2E_WORK/$name.png" "$E2E_WORK/$name-diff.png" 2>&1); then
            mkdir -p golden-diff
            cp "$E2E_WORK/$name.png" "$E2E_WORK/$name-diff.png" golden-diff/
            echo "FAIL: frame $frame of $demo.demo differs from $name.png in $differing pixels (see $PWD/golden-diff)" >&2
            failed=1
        fi
    done
done
[ "$failed" = 0 ] || exit 1
echo "golden frames: passed"
