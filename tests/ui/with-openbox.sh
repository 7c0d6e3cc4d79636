#!/usr/bin/env bash
# Runs a command on a private Xvfb whose windows openbox manages, so that frames, placement
# and activation go through a real window manager as on a desktop. Usage:
#   tests/ui/with-openbox.sh COMMAND [ARGS...]
# The command's exit status is this script's.
set -euo pipefail
for tool in Xvfb openbox xprop; do
    command -v "$tool" >/dev/null || { echo "needs $tool (xvfb, openbox, x11-utils)" >&2; exit 1; }
done
dir=$(mktemp -d)
xvfb= wm=
trap 'kill $wm $xvfb 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$dir"' EXIT

# Xvfb picks a free display and writes its number once it accepts clients.
mkfifo "$dir/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dir/display" >/dev/null 2>&1 &
xvfb=$!
read -r display <"$dir/display" || true
[ -n "$display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$display"
for _ in $(seq 100); do xprop -root >/dev/null 2>&1 && break; sleep 0.05; done

# The stock configuration, not the user's; started again should the first try fail.
for _ in 1 2 3; do
    XDG_CONFIG_HOME="$dir" openbox --sm-disable >"$dir/openbox.log" 2>&1 &
    wm=$!
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        kill -0 $wm 2>/dev/null || break
        sleep 0.05
    done
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    kill $wm 2>/dev/null || true
    sleep 0.2
done
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
    { echo "openbox did not start on $DISPLAY" >&2; cat "$dir/openbox.log" >&2; exit 1; }

status=0
"$@" || status=$?
exit "$status"
