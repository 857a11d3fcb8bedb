#!/usr/bin/env bash
# Start-up to the first frame, the engine's side by side with the matched bare window, on a virtual X server
# whose screen is the engine's full-screen mode: bench/core/startup.sh BUILD_DIR [benchmark options]
# (BUILD_DIR is a configured and built preset folder, e.g. build/release).
set -euo pipefail
build=$(cd "${1:?build folder}" && pwd)
shift
source "$(dirname "$0")/../../tests/e2e/lib.sh"
e2e_start_x 640x480x16
e2e_workdir "$build/run"
cd "$E2E_WORK"
# The no-device case asks ALSA for this device; the dummy driver ignores it.
export AUDIODEV=pel-no-such-device
"$build/bench/core/startup_bench" --benchmark_counters_tabular=true "$@"
