#!/usr/bin/env bash
# Start-up of the Windows program under Wine (A) against a bare Win32 window of the same size
# with one menu and one button (B): time from starting `wine PROGRAM` until the first
# top-level window is mapped on the X server, over alternating runs, once with Wine's server
# already up and once with Wine started afresh for each run. Then the first F1 against the
# second: key to the fish window mapped. Wine runs without its virtual desktop here, so that
# each window is an X window of its own.
# Usage: bench/win32-startup.sh [runs each, default 15] [preset, default windows]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
runs="${1:-15}"
preset="${2:-windows}"
build=$(sed -n "s|.*\"binaryDir\": \"\${sourceDir}/\(build-$preset\)\".*|\1|p" CMakePresets.json)
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target map_timer >/dev/null
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)" --target varkelo startup_baseline >/dev/null

export WINEPREFIX="$PWD/$build/wine/bench"
source scripts/wine-prefix.sh
wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1 || true
wineserver --wait
display=":$((150 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null; kill $xvfb 2>/dev/null || true' EXIT
sleep 1
export DISPLAY="$display"

# A run whose window never maps (Wine loses one now and then) ends after 20 s and is left out.
timer() { timeout 20 build-release/bench/startup/map_timer "$@" || pkill -f "$(basename "${*: -1}")" || true; }
# The 64-bit loader itself: plain `wine` would go through the 32-bit one first.
loader=/usr/lib/wine/wine64
[ -x "$loader" ] || loader=wine
program="$build/varkelo.exe" baseline="$build/bench/startup_baseline.exe"
# Wine's server kept up between runs; one still lingering from a run, or kept up before,
# would refuse to start it.
server_up() {
    wineserver -k 2>/dev/null || true
    wineserver --wait
    wineserver --persistent
}
median() { LC_ALL=C sort -n | LC_ALL=C awk '{v[NR]=$1} END {print (NR%2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2)}'; }
ratio() { LC_ALL=C awk "BEGIN{printf \"%.2f\", $1/$2}"; }
# Runs each alternately, Wine's server kept up (persistent) or ended before each run (fresh).
compare() {
    local a=() b=()
    for _ in $(seq "$runs"); do
        [ "$1" = fresh ] && wineserver -k 2>/dev/null && wineserver --wait
        a+=($(timer "$loader" "$program" | cut -d' ' -f1))
        [ "$1" = fresh ] && wineserver -k 2>/dev/null && wineserver --wait
        b+=($(timer "$loader" "$baseline" | cut -d' ' -f1))
    done
    a_ms=$(printf '%s\n' "${a[@]}" | median)
    b_ms=$(printf '%s\n' "${b[@]}" | median)
    echo "map (ms), $1 Wine, ${#a[@]} and ${#b[@]} runs: program $a_ms, bare Win32 $b_ms," \
        "ratio $(ratio "$a_ms" "$b_ms")"
}
server_up
timer "$loader" "$program" >/dev/null # warm the caches once for both
timer "$loader" "$baseline" >/dev/null
echo "runs each: $runs (alternating), $build"
compare persistent
wineserver -k
compare fresh
server_up
first=() second=()
for _ in $(seq "$runs"); do
    read -r _ _ f1 f1again < <(timer --f1 "$loader" "$program") || continue
    first+=("$f1") second+=("$f1again")
done
echo "F1 to the fish window (ms), ${#first[@]} runs: first" \
    "$(printf '%s\n' "${first[@]}" | median), second $(printf '%s\n' "${second[@]}" | median)"
echo "varkelo.exe: $(stat -c %s "$program") bytes, stripped, no DLL beside it"
