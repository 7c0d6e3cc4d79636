#!/usr/bin/env bash
# Start-up of the Windows program under Wine (A) against a bare Win32 window of the same size
# with one menu and one button (B): time from starting `wine PROGRAM` until the first
# top-level window is mapped on the X server, over alternating runs. Wine runs without its
# virtual desktop here, so that each window is an X window of its own.
# Usage: bench/win32-startup.sh [runs each, default 15]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
runs="${1:-15}"
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target map_timer >/dev/null
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target varkelo startup_baseline >/dev/null

export WINEPREFIX="$PWD/build-windows/wine/bench" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8
[ -d "$WINEPREFIX" ] || { wineboot --init >/dev/null 2>&1; wineserver --wait; }
display=":$((150 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null; kill $xvfb 2>/dev/null || true' EXIT
sleep 1
export DISPLAY="$display"
wineserver --persistent # both pay the same for a server that is already up

timer=build-release/bench/startup/map_timer
a=() b=()
"$timer" wine build-windows/varkelo.exe >/dev/null # warm the caches once for both
"$timer" wine build-windows/bench/startup_baseline.exe >/dev/null
for _ in $(seq "$runs"); do
    a+=("$("$timer" wine build-windows/varkelo.exe)")
    b+=("$("$timer" wine build-windows/bench/startup_baseline.exe)")
done

median() { sort -n | awk '{v[NR]=$1} END {print (NR%2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2)}'; }
a_ms=$(printf '%s\n' "${a[@]}" | cut -d' ' -f1 | median)
b_ms=$(printf '%s\n' "${b[@]}" | cut -d' ' -f1 | median)
echo "runs each:          $runs (alternating)"
echo "time to map  (ms):  program $a_ms, bare Win32 $b_ms, ratio $(LC_ALL=C awk "BEGIN{printf \"%.2f\", $a_ms/$b_ms}")"
echo "varkelo.exe: $(stat -c %s build-windows/varkelo.exe) bytes, stripped, no DLL beside it"
