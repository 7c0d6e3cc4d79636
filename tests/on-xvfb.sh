#!/usr/bin/env bash
# Runs a command on an X server of its own (Xvfb), whose display number the server picks
# itself, so that tests may run side by side. XVFB_SCREEN sets the screen (1280x1024x24).
# Usage: on-xvfb.sh COMMAND [ARGS...]
set -euo pipefail
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1280x1024x24}" -nolisten tcp 3>"$fifo" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -f "$fifo"' EXIT
read -r display <"$fifo"
DISPLAY=":$display" "$@"
