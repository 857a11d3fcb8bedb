#!/usr/bin/env bash
# Frame times of the menu and of play against a bare clear-and-present loop, on a virtual X server:
# bench/game/frame_rate.sh BUILD_DIR   (BUILD_DIR is a configured and built preset folder, e.g. build/release).
set -euo pipefail
build=$(cd "${1:?build folder}" && pwd)
source "$(dirname "$0")/../../tests/e2e/lib.sh"
e2e_start_x 640x480x16
e2e_workdir "$build/run"
cd "$E2E_WORK"
"$build/bench/game/frame_rate_bench" --benchmark_min_time=2
