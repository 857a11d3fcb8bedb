#!/usr/bin/env bash
# Draws the gallery under a virtual X server and converts its screenshot to PNG:
#   tools/gallery/run-gallery.sh [BUILDDIR] [OUT.png]      (defaults: build/dev, BUILDDIR/gallery.png)
# Runs in a scratch copy of data/, so the source tree stays clean.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath "${1:-$root/build/dev}")
out=$(realpath -m "${2:-$build/gallery.png}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$root/data" "$work/data"
# From inside the scratch folder: the engine's log is emptied in the working folder before main runs.
(cd "$work" && "$root/tests/support/with-xvfb.sh" 1024x768x24 "$build/tools/gallery/gallery")
convert "$work/ekrang.tga" -auto-orient "$out"
echo "$out"
