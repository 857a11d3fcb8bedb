#!/usr/bin/env bash
# Fails when a C or C++ source of the tree differs from what clang-format makes of it (.clang-format at the root).
set -euo pipefail
cd "${1:?source folder}"
mapfile -t files < <(find core graphics input audio game platform tools tests bench \
    -name '*.cpp' -o -name '*.h' -o -name '*.c' 2>/dev/null | sort)
clang-format --dry-run --Werror "${files[@]}"
echo "format: ${#files[@]} files clean"
