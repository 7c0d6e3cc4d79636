#!/usr/bin/env bash
# Installs what building and running the program needs, builds it and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh run
cmake --preset release -DVARKELO_BENCH=OFF >/dev/null
cmake --build --preset release -j "$(nproc)" --target varkelo
exec ./build-release/varkelo
