#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
# Extra arguments go to CMake's configure step; BUILD_DIR picks the build tree.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build="${BUILD_DIR:-build}"
cmake -S . -B "$build" "$@"
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
