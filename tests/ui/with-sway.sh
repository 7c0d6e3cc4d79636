#!/usr/bin/env bash
# Runs a command beside a headless sway, a Wayland compositor, in its stock configuration, so
# that windows are mapped and focused by a real compositor; the command finds WAYLAND_DISPLAY
# set. Usage: tests/ui/with-sway.sh COMMAND [ARGS...]
set -euo pipefail
dir=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; wait; rm -rf "$dir"' EXIT
mkdir -m 700 "$dir/run"
echo "exec touch $dir/ready" >"$dir/config"
# sway will not run as root: then the whole session, the command included, runs as nobody.
as=()
if [ "$(id -u)" -eq 0 ]; then
    chown -R 65534:65534 "$dir"
    as=(setpriv --reuid=65534 --regid=65534 --clear-groups env HOME="$dir")
fi
env -i PATH="$PATH" HOME="$dir" XDG_RUNTIME_DIR="$dir/run" WLR_BACKENDS=headless \
    WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 "${as[@]}" sway -c "$dir/config" \
    >"$dir/sway.log" 2>&1 &
for _ in $(seq 100); do [ -e "$dir/ready" ] && break; sleep 0.05; done
[ -e "$dir/ready" ] || { echo "sway did not start" >&2; cat "$dir/sway.log" >&2; exit 1; }
export XDG_RUNTIME_DIR="$dir/run" WAYLAND_DISPLAY="$(cd "$dir/run" && ls wayland-* | grep -v lock)"
"${as[@]}" "$@"
