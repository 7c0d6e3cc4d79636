#!/usr/bin/env bash
# Runs a command on an X server of its own (Xvfb), whose display number the server picks
# itself, so that tests may run side by side; with XVFB_WM=openbox under openbox, so that
# frames, placement and activation go through a real window manager as on a desktop.
# XVFB_SCREEN sets the screen (1280x1024x24). Usage: on-xvfb.sh COMMAND [ARGS...]
set -euo pipefail
dir=$(mktemp -d)
mkfifo "$dir/display"
Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1280x1024x24}" -nolisten tcp 3>"$dir/display" 2>/dev/null &
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$dir"' EXIT
read -r display <"$dir/display"
export DISPLAY=":$display"
# openbox in its stock configuration, not the user's; started again should it fail.
for _ in $([ "${XVFB_WM:-}" = openbox ] && echo 1 2 3); do
    XDG_CONFIG_HOME="$dir" openbox --sm-disable >/dev/null 2>&1 &
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break 2; sleep 0.05
    done
    kill $! 2>/dev/null || true
done
"$@"
