#!/usr/bin/env bash
# The Windows program under Wine beside its baselines, on one virtual 640x480x16 screen, in turns:
#   bench/win32/run-bench.sh [BUILD_DIR] [ROUNDS]      (default build/windows, 5 rounds)
# Start-up: wall time of brikatan.exe --timedemo data/demos/menu.demo less its frames' seconds, against the
# wall time of a bare WGL window that shows one frame. Menu frame: the timedemo's seconds per frame, against
# a clear+swap loop's. Medians of the rounds, and their ratios.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath "${1:-$root/build/windows}")
rounds=${2:-5}
if [ -z "${DISPLAY:-}" ] || [ -z "${PEL_BENCH_ON_SCREEN:-}" ]; then
    PEL_BENCH_ON_SCREEN=1 exec "$root/tests/support/with-xvfb.sh" 640x480x16 "$0" "$build" "$rounds"
fi
prefix=$build/wineprefix-x11
# Lines without the carriage returns a Windows program ends them with.
wine_run() { "$root/scripts/wine-run" "$prefix" "$@" | tr -d '\r'; }
now() { date +%s.%N; }
median() { sort -g | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2}'; }

cd "$build/run"
bare=() loop=() start=() menu=()
for ((round = 0; round < rounds; ++round)); do
    t0=$(now)
    wine_run "$build/bench/win32/clear_swap_bench.exe" 1 >/dev/null
    bare+=("$(echo "$(now) - $t0" | bc)")
    fps=$(wine_run "$build/bench/win32/clear_swap_bench.exe" 1000 | sed -n 's/.* \([0-9.]*\) frames per second/\1/p')
    loop+=("$(echo "1000 / $fps" | bc -l)")
    t0=$(now)
    line=$(wine_run "$build/brikatan.exe" --timedemo 'data\demos\menu.demo')
    wall=$(echo "$(now) - $t0" | bc)
    read -r frames seconds < <(echo "$line" | sed -n 's/.*: \([0-9]*\) frames, \([0-9.]*\) seconds.*/\1 \2/p')
    start+=("$(echo "$wall - $seconds" | bc -l)")
    menu+=("$(echo "1000 * $seconds / $frames" | bc -l)")
done
# The Wine session ends before the screen does.
WINEPREFIX=$prefix wineserver -w
m_bare=$(printf '%s\n' "${bare[@]}" | median)
m_loop=$(printf '%s\n' "${loop[@]}" | median)
m_start=$(printf '%s\n' "${start[@]}" | median)
m_menu=$(printf '%s\n' "${menu[@]}" | median)
printf 'start-up: brikatan %.2f s, bare WGL window %.2f s, ratio %.2f\n' "$m_start" "$m_bare" \
    "$(echo "$m_start / $m_bare" | bc -l)"
printf 'frame: brikatan menu %.2f ms, clear+swap %.2f ms, ratio %.2f\n' "$m_menu" "$m_loop" \
    "$(echo "$m_menu / $m_loop" | bc -l)"
