#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, in the prefix WINEPREFIX (see
# scripts/wine-prefix.sh), on a private X server, and waits for everything it started to end.
# Usage: wine-run.sh PROGRAM [ARGS...]
set -euo pipefail
source "$(dirname "$0")/../../scripts/wine-prefix.sh"
XVFB_SCREEN=1024x768x24 exec "$(dirname "$0")/../on-xvfb.sh" \
    bash -c 'status=0; wine "$@" || status=$?; wineserver --wait; exit $status' wine-run "$@"
