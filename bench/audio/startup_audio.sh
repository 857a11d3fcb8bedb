#!/usr/bin/env bash
# Start-up to the first menu frame with a sound device (SDL's dummy driver) and without one (ALSA with no such
# device, as on a machine without a sound card), on a virtual X server, runs interleaved so that the load of
# the moment falls on all alike. With a second build folder (a baseline, e.g. of main), its program runs in the
# same rounds:   bench/audio/startup_audio.sh BUILD_DIR [BASELINE_BUILD_DIR] [ROUNDS]
# Prints the median of each in milliseconds, and its time against the first run's, round by round.
set -euo pipefail
builds=("$(cd "${1:?build folder}" && pwd)")
[ -n "${2:-}" ] && builds+=("$(cd "$2" && pwd)")
rounds=${3:-20}
source "$(dirname "$0")/../../tests/e2e/lib.sh"
e2e_start_x 1024x768x24
e2e_workdir "${builds[0]}/run"
cd "$E2E_WORK"
devices=("SDL_AUDIODRIVER=dummy" "SDL_AUDIODRIVER=alsa AUDIODEV=pel-no-such-device")
times=$(mktemp)
runs=()
for build in "${builds[@]}"; do
    for device in "${devices[@]}"; do runs+=("$build|$device"); done
done
# Every other round runs them in the opposite order, so that no run always follows the same one.
for ((round = 0; round < rounds; ++round)); do
    for ((i = 0; i < ${#runs[@]}; ++i)); do
        run=${runs[$((round % 2 ? ${#runs[@]} - 1 - i : i))]}
        start=$(date +%s%N)
        env ${run#*|} "${run%%|*}/bench/audio/first_frame" >/dev/null 2>&1
        echo "$round|$run|$((($(date +%s%N) - start) / 1000))" >>"$times"
    done
done
# Per run: the median time, and the median over the rounds of its time against the first run's in the same
# round, which the load's slow swings do not move.
awk -F'|' -v first="${runs[0]}" '
    function median(list, n,    sorted, i, j, t) {
        for (i = 1; i <= n; ++i) sorted[i] = list[i]
        for (i = 2; i <= n; ++i) for (j = i; j > 1 && sorted[j - 1] > sorted[j]; --j) {
            t = sorted[j]; sorted[j] = sorted[j - 1]; sorted[j - 1] = t
        }
        return n % 2 ? sorted[(n + 1) / 2] : (sorted[n / 2] + sorted[n / 2 + 1]) / 2
    }
    { key = $2 "|" $3; time[$1, key] = $4; if (!(key in seen)) { seen[key] = 1; order[++count] = key } rounds[$1] = 1 }
    END {
        printf "%10s %10s  %s\n", "median ms", "vs first", "build (audio)"
        for (k = 1; k <= count; ++k) {
            n = 0
            for (r in rounds) { ms[++n] = time[r, order[k]] / 1000; ratio[n] = time[r, order[k]] / time[r, first] }
            split(order[k], part, "|")
            printf "%10.1f %10.3f  %s (%s)\n", median(ms, n), median(ratio, n), part[1], part[2]
        }
    }' "$times"
rm -f "$times"
