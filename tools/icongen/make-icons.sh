#!/usr/bin/env bash
# Redraws the menu icons in packaging/icons from the window icon, one PNG per size the install ships.
#   tools/icongen/make-icons.sh [BUILDDIR]      (default build/dev; builds icongen there first)
# The drawing is deterministic, so a run on an unchanged tree leaves the icons as committed.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath "${1:-$root/build/dev}")
cmake --build "$build" --target icongen -j2 >/dev/null
mkdir -p "$root/packaging/icons"
for size in 32 48 64 128; do
    "$build/tools/icongen/icongen" "$size" "$root/packaging/icons/brikatan-$size.png"
done
echo "drew the icons into packaging/icons"
