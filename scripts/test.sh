#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the Linux program's, then
# the Windows program's under Wine. Usage: scripts/test.sh [Linux preset, default "default"]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
preset="${1:-default}"
jobs="$(nproc)"
cmake --preset "$preset"
cmake --build --preset "$preset" -j "$jobs"
ctest --preset "$preset" -j "$jobs"
# The Windows program, its installer and its tests, under Wine.
cmake --preset windows
cmake --build --preset windows -j "$jobs"
ctest --preset windows -j "$jobs"
