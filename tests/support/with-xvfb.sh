#!/usr/bin/env bash
# Runs a command on a virtual X server of its own: with-xvfb.sh WIDTHxHEIGHTxDEPTH command [args...]
# The server picks a free display number itself and is stopped when the command ends.
set -euo pipefail
screen=$1
shift
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 4 -screen 0 "$screen" -nolisten tcp 4>"$fifo" >/dev/null 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; rm -f "$fifo"' EXIT
read -r display <"$fifo"
export DISPLAY=":$display"
"$@"
