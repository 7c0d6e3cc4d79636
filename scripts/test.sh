#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the web page's (under
# Node.js, and in headless Chromium with the Linux tests), the Linux program's, then the Windows
# programs' under Wine. Usage: scripts/test.sh [Linux preset, default "default"]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
preset="${1:-default}"
jobs="$(nproc)"
# The page first: the Linux build's tests drive it in the browser.
cmake --preset web
cmake --build --preset web -j "$jobs"
ctest --preset web -j "$jobs"
cmake --preset "$preset"
cmake --build --preset "$preset" -j "$jobs"
ctest --preset "$preset" -j "$jobs"
# The 32-bit Windows program first: the installer the 64-bit build makes carries it.
for windows in windows-x86 windows; do
    cmake --preset "$windows"
    cmake --build --preset "$windows" -j "$jobs"
done
ctest --preset windows-x86 -j "$jobs"
ctest --preset windows -j "$jobs"
