#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy at the root) on the C and C++ files a change touches; fails on any finding.
#   check-tidy.sh SOURCE_FOLDER BUILD_FOLDER CLANG_TIDY
# The change: what differs from where this branch left main (origin/main, else main), uncommitted edits
# included, else the last commit's files; PEL_TIDY_BASE=<commit> or all overrides. A changed header is
# checked through the source beside it; only files the build compiles are checked.
set -euo pipefail
source=$1
build=$2
tidy=$3
cd "$source"
[ -x "$tidy" ] || { echo "clang-tidy is not installed ($tidy): scripts/setup installs it" >&2; exit 1; }
[ -f "$build/compile_commands.json" ] || { echo "no compile_commands.json in $build" >&2; exit 1; }

changed_files() {
    local base=${PEL_TIDY_BASE:-} ref
    if [ "$base" = all ] || ! git rev-parse --git-dir >/dev/null 2>&1; then
        git ls-files 2>/dev/null || find . -type f | sed 's|^\./||'
        return
    fi
    if [ -z "$base" ]; then
        for ref in origin/main main; do
            git rev-parse -q --verify "$ref^{commit}" >/dev/null && { base=$(git merge-base HEAD "$ref"); break; }
        done
    fi
    local files=""
    [ -n "$base" ] && files=$({ git diff --name-only --diff-filter=d "$base"; git ls-files --others --exclude-standard; })
    [ -n "$files" ] || files=$(git diff --name-only --diff-filter=d HEAD~1 HEAD 2>/dev/null || git ls-files)
    echo "$files"
}

# The changed sources, and for a changed header the source beside it, that the build compiles.
compiled=$(sed -n 's|^ *"file": "\(.*\)",\?$|\1|p' "$build/compile_commands.json" | sed "s|^$PWD/||")
mapfile -t units < <(changed_files | sed -e 'p;/\.h$/{s//.cpp/p;s/\.cpp$/.c/}' | sort -u |
    grep -Fx -f <(echo "$compiled"))

if [ ${#units[@]} -eq 0 ]; then
    echo "tidy: no changed source file to check"
    exit 0
fi
output=$(mktemp)
trap 'rm -f "$output"' EXIT
status=0
printf '%s\n' "${units[@]}" | xargs -P "$(nproc)" -n 1 "$tidy" -p "$build" --quiet >"$output" 2>&1 ||
    status=$?
grep -v '^[0-9]* warnings\? generated\.$' "$output" || true
[ "$status" -eq 0 ] || { echo "tidy: findings in the files above" >&2; exit 1; }
echo "tidy: ${#units[@]} files clean"
