#!/usr/bin/env bash
# Start-up cost of the program (A) against a bare Qt 6 program (B): time from process start
# until the first top-level window is mapped, and peak RSS, over alternating runs under Xvfb;
# then the first F1 against the second, under openbox.
# Usage: bench/startup.sh [runs each, default 15]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
runs="${1:-15}"
cmake --preset release >/dev/null
cmake --build build-release -j "$(nproc)" --target varkelo startup_baseline map_timer >/dev/null

display=":$((150 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1
export DISPLAY="$display" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

timer=build-release/bench/startup/map_timer
a=() b=()
"$timer" build-release/varkelo >/dev/null # warm the caches once for both
"$timer" build-release/bench/startup/startup_baseline >/dev/null
for _ in $(seq "$runs"); do
    a+=("$("$timer" build-release/varkelo)")
    b+=("$("$timer" build-release/bench/startup/startup_baseline)")
done

median() { sort -n | awk '{v[NR]=$1} END {print (NR%2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2)}'; }
# The first F1 against the second: key to the fish window mapped, the window built while the
# program waited (the first) or shown again (the second).
# Under a window manager, which gives the main window the keyboard as a desktop does: with
# none, the keys go nowhere.
XDG_CONFIG_HOME="$(mktemp -d)" openbox --sm-disable >/dev/null 2>&1 &
wm=$!
trap 'kill $wm $xvfb 2>/dev/null || true' EXIT
sleep 1
first=() second=()
for _ in $(seq "$runs"); do
    read -r _ _ f1 f1again < <("$timer" --f1 build-release/varkelo)
    first+=("$f1") second+=("$f1again")
done
a_ms=$(printf '%s\n' "${a[@]}" | cut -d' ' -f1 | median)
b_ms=$(printf '%s\n' "${b[@]}" | cut -d' ' -f1 | median)
a_kb=$(printf '%s\n' "${a[@]}" | cut -d' ' -f2 | median)
b_kb=$(printf '%s\n' "${b[@]}" | cut -d' ' -f2 | median)
cp build-release/varkelo /tmp/varkelo-stripped.$$ && strip /tmp/varkelo-stripped.$$
size=$(stat -c %s /tmp/varkelo-stripped.$$) && rm -f /tmp/varkelo-stripped.$$

echo "runs each:          $runs (alternating)"
echo "time to map  (ms):  program $a_ms, bare Qt $b_ms, ratio $(awk "BEGIN{printf \"%.2f\", $a_ms/$b_ms}")"
echo "peak RSS    (KiB):  program $a_kb, bare Qt $b_kb, ratio $(awk "BEGIN{printf \"%.2f\", $a_kb/$b_kb}")"
echo "F1 to the fish window (ms): first $(printf '%s\n' "${first[@]}" | median)," \
    "second $(printf '%s\n' "${second[@]}" | median)"
echo "stripped Release executable: $size bytes"
