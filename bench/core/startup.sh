#!/usr/bin/env bash
# Side-by-side start-up times under a virtual X server: bench/core/startup.sh BUILD_DIR
# (BUILD_DIR is a configured and built preset folder, e.g. build/release).
set -euo pipefail
build=$(cd "${1:?build folder}" && pwd)
source "$(dirname "$0")/../../tests/e2e/lib.sh"
e2e_start_x 1024x768x24
e2e_workdir "$build/run"
cd "$E2E_WORK"
hyperfine --warmup 3 --runs 30 --export-markdown "$E2E_WORK/startup.md" \
    "$build/bench/core/startup_bare" "$build/bench/core/startup_engine"
cat "$E2E_WORK/startup.md"
