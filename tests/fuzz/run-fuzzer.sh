#!/usr/bin/env bash
# run-fuzzer.sh FUZZER CORPUS WORKDIR SECONDS: replays the committed corpus, then fuzzes for SECONDS into a
# scratch copy of it, with bounded memory per input. Fails on any crash, leak or memory blow-up.
set -euo pipefail
fuzzer=$1 corpus=$2 work=$3 seconds=$4
rm -rf "$work"
mkdir -p "$work/corpus" "$work/artifacts"
[ -d "$corpus" ] && cp -r "$corpus/." "$work/corpus/"
cd "$work"
exec "$fuzzer" -max_total_time="$seconds" -rss_limit_mb=512 -malloc_limit_mb=512 -timeout=10 \
    -artifact_prefix="$work/artifacts/" -print_final_stats=1 "$work/corpus"
