#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan and UBSan on) and runs each for a bounded time,
# from its seed corpus. Usage: scripts/fuzz.sh [seconds per target, default 60].
# A longer run: scripts/fuzz.sh 3600
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
seconds="${1:-60}"
CXX=clang++ cmake -S fuzz -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j "$(nproc)"
for target in entries; do
    work="build-fuzz/corpus-$target"
    mkdir -p "$work"
    echo "== fuzz $target for ${seconds}s"
    "./build-fuzz/${target}_fuzz" -max_total_time="$seconds" -print_final_stats=1 \
        "$work" "fuzz/corpus/$target" 2>&1 | grep -E '^(Done|stat::number_of_executed_units)|ERROR|SUMMARY'
    status=${PIPESTATUS[0]}
    [ "$status" -eq 0 ] || { echo "fuzz target $target failed ($status)"; exit 1; }
done
