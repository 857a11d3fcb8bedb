#!/usr/bin/env bash
# What the scaled full screen costs: the menu and play frames on screens without the game's mode, where the
# picture is scaled to the desktop (1280x720x24 with bars, 1024x768x24 without), against the screen that has
# it (640x480x24, where full screen is a mode switch).
#   bench/game/scaled_frame.sh BUILD_DIR [BASELINE_BUILD_DIR]
# Each round visits every screen, and every build on it, in random order, so that all see the same load; the
# medians over the rounds are printed, with each scaled screen's frames as a ratio of the mode switch's.
# ROUNDS (9) sets the rounds; CLOCK=processor times the frames by the processor time of the whole process
# (the driver's drawing threads included) instead of the wall clock, which on a machine busy with other
# programs mostly measures how long the drawing threads wait to be scheduled.
set -euo pipefail
builds=()
for folder in "${@:1:2}"; do builds+=("$(cd "$folder" && pwd)"); done
[ ${#builds[@]} -gt 0 ] || {
    echo "usage: $0 BUILD_DIR [BASELINE_BUILD_DIR]" >&2
    exit 2
}
rounds=${ROUNDS:-9}
clock=()
[ "${CLOCK:-wall}" = wall ] || clock=(--processor_time)
screens=(640x480x24 1280x720x24 1024x768x24)
source "$(dirname "$0")/../../tests/e2e/lib.sh"
results=$(mktemp)
trap 'rm -f "$results"; e2e_cleanup' EXIT

# run_once BUILD SCREEN: one run of the menu and play frames; appends "build screen which frame_ms bare_ms".
run_once() {
    e2e_start_x "$2"
    e2e_workdir "$1/run"
    (cd "$E2E_WORK" && "$1/bench/game/frame_rate_bench" --benchmark_filter='(menu|play)_against_bare' \
        --benchmark_min_time=0.5 --benchmark_format=csv "${clock[@]}" 2>/dev/null) |
        awk -F, -v build="$1" -v screen="$2" '
            /^name,/ { for (i = 1; i <= NF; ++i) column[$i] = i; next }
            /against_bare/ {
                which = $1 ~ /menu/ ? "menu" : "play"
                print build, screen, which, $column["\"frame_ms\""], $column["\"baseline_ms\""]
            }' >>"$results"
    rm -rf "$E2E_WORK"
    e2e_stop_x
}

for ((round = 1; round <= rounds; ++round)); do
    for pair in $(for b in "${!builds[@]}"; do for s in "${screens[@]}"; do echo "$b:$s"; done; done | shuf); do
        run_once "${builds[${pair%%:*}]}" "${pair#*:}"
    done
    echo "round $round of $rounds done" >&2
done

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
echo "frame times in ms (${CLOCK:-wall} clock), medians of $rounds rounds; ratio = against 640x480x24"
printf '%-12s %-12s %8s %8s %8s %8s %8s\n' build screen menu play bare menu/sw play/sw
labels=(build baseline)
for index in "${!builds[@]}"; do
    build=${builds[$index]}
    declare -A value=()
    for screen in "${screens[@]}"; do
        for which in menu play; do
            value[$screen.$which]=$(awk -v b="$build" -v s="$screen" -v w="$which" \
                '$1 == b && $2 == s && $3 == w { print $4 }' "$results" | median)
        done
        value[$screen.bare]=$(awk -v b="$build" -v s="$screen" '$1 == b && $2 == s { print $5 }' "$results" |
            median)
    done
    for screen in "${screens[@]}"; do
        printf '%-12s %-12s %8.3f %8.3f %8.3f %8.3f %8.3f\n' "${labels[$index]}" "$screen" \
            "${value[$screen.menu]}" "${value[$screen.play]}" "${value[$screen.bare]}" \
            "$(awk -v a="${value[$screen.menu]}" -v b="${value[640x480x24.menu]}" 'BEGIN { print a / b }')" \
            "$(awk -v a="${value[$screen.play]}" -v b="${value[640x480x24.play]}" 'BEGIN { print a / b }')"
    done
    unset value
done
