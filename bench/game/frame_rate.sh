#!/usr/bin/env bash
# Frame times of the menu and of play, each side by side with its baseline, on a virtual X server:
# bench/game/frame_rate.sh BUILD_DIR [benchmark options]   (BUILD_DIR is a configured and built preset folder,
# e.g. build/release). Nine repetitions in random order; the medians are the figures to read.
# Runs twice: with the C library's allocator as it tunes itself, then with its thresholds held at their
# defaults (the allocator raises them after the large start-up buffers are freed, which hides costly
# allocations in a frame).
set -euo pipefail
build=$(cd "${1:?build folder}" && pwd)
source "$(dirname "$0")/../../tests/e2e/lib.sh"
e2e_start_x 640x480x16
e2e_workdir "$build/run"
cd "$E2E_WORK"
for thresholds in tuned fixed; do
    echo "== allocator thresholds: $thresholds"
    if [ "$thresholds" = fixed ]; then
        export MALLOC_MMAP_THRESHOLD_=131072 MALLOC_TRIM_THRESHOLD_=131072
    fi
    "$build/bench/game/frame_rate_bench" --benchmark_min_time=0.5 --benchmark_repetitions=9 \
        --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true \
        --benchmark_counters_tabular=true "${@:2}"
done
