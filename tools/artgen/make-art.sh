#!/usr/bin/env bash
# Regenerates the game's pictures: draws them with artgen and packs each into data/spr with peltool.
#   tools/artgen/make-art.sh [BUILDDIR]      (default build/dev; builds artgen and peltool there first)
# The generator is deterministic, so a run on an unchanged tree leaves data/spr as committed.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath "${1:-$root/build/dev}")
cmake --build "$build" --target artgen peltool -j2 >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/tools/artgen/artgen" "$work"
mkdir -p "$root/data/spr/efek"
(cd "$work" && find . -name '*.bmp' | sort) | while read -r bmp; do
    name=${bmp#./}
    "$build/tools/peltool/peltool" pack "$work/$name" "$root/data/spr/${name%.bmp}.spr"
done
echo "packed $(cd "$work" && find . -name '*.bmp' | wc -l) pictures into data/spr"
