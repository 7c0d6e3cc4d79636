#!/usr/bin/env bash
# Runs a command beside a headless sway (a Wayland compositor with a keyboard seat, the
# activation protocol and Xwayland), in its stock configuration, so that windows are mapped,
# focused and fed keys by a real compositor. The command finds WAYLAND_DISPLAY, SWAYSOCK and
# DISPLAY (Xwayland's) set. Usage:
#   tests/ui/with-sway.sh COMMAND [ARGS...]
# The command's exit status is this script's. SWAY_CONFIG adds lines to the configuration.
set -euo pipefail
for tool in sway swaymsg wtype Xwayland; do
    command -v "$tool" >/dev/null || { echo "needs $tool (sway, wtype, xwayland)" >&2; exit 1; }
done
dir=$(mktemp -d)
sway= keyboard=
trap 'kill $keyboard $sway 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$dir"' EXIT
chmod 755 "$dir"
mkdir -m 700 "$dir/run"
cat >"$dir/config" <<EOF
exec echo "\$DISPLAY" >"$dir/display"
${SWAY_CONFIG:-}
EOF

# sway will not run as root: then the whole session, the command included, runs as nobody, as
# the desktop's own user (Xwayland lets in no other).
as=()
if [ "$(id -u)" -eq 0 ]; then
    chown -R 65534:65534 "$dir"
    as=(setpriv --reuid=65534 --regid=65534 --clear-groups env HOME="$dir")
fi
env -i PATH="$PATH" HOME="$dir" XDG_RUNTIME_DIR="$dir/run" WLR_BACKENDS=headless \
    WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 "${as[@]}" sway -c "$dir/config" \
    >"$dir/sway.log" 2>&1 &
sway=$!
for _ in $(seq 100); do
    [ -s "$dir/display" ] && ls "$dir/run"/sway-ipc.*.sock >/dev/null 2>&1 && break
    sleep 0.05
done
[ -s "$dir/display" ] || { echo "sway did not start" >&2; cat "$dir/sway.log" >&2; exit 1; }

export XDG_RUNTIME_DIR="$dir/run" WAYLAND_DISPLAY="$(cd "$dir/run" && ls wayland-* | grep -v lock | head -1)"
export SWAYSOCK="$(ls "$dir/run"/sway-ipc.*.sock)" DISPLAY="$(cat "$dir/display")"
# The seat's keyboard, there all the time as on a desktop: without one, each wtype brings
# a keyboard and takes it away again, and the windows lose the focus with it.
"${as[@]}" wtype -s 2000000000 -k Shift_L &
keyboard=$!
status=0
"${as[@]}" "$@" || status=$?
exit "$status"
