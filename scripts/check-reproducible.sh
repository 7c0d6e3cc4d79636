#!/usr/bin/env bash
# Builds the published files twice from the last commit, in two folders of different names
# and depths, and fails unless each comes out byte for byte the same: the Linux package, both
# Windows programs, their portable archives and the installer, the web page and its zip.
# Usage: scripts/check-reproducible.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
files=(build-release/deb/varkelo_*.deb build-windows-x86/varkelo.exe build-windows/varkelo.exe
    build-windows-x86/packages/*.zip build-windows/packages/*.zip build-windows/packages/*.exe
    build-web/varkelo.html build-web/packages/*.zip)
for dir in "$root/a/varkelo" "$root/b/other/place/src"; do
    git clone -q . "$dir"
    (
        cd "$dir"
        cmake --preset release -DVARKELO_BENCH=OFF
        cmake --build --preset release -j "$(nproc)"
        cpack -G DEB -B build-release/deb --config build-release/CPackConfig.cmake
        for packaged in windows-x86 windows web; do
            cmake --preset "$packaged" -DVARKELO_TESTS=OFF -DVARKELO_BENCH=OFF
            cmake --build --preset "$packaged" -j "$(nproc)" --target packages
        done
    ) >"$dir.log" 2>&1 || { tail -20 "$dir.log"; exit 1; }
done
status=0
for file in "${files[@]}"; do
    for a in "$root"/a/varkelo/$file; do
        b="$root/b/other/place/src/${a#"$root"/a/varkelo/}"
        if cmp -s "$a" "$b"; then
            echo "same: ${a#"$root"/a/varkelo/} ($(stat -c %s "$a") bytes)"
        else
            echo "DIFFERENT: ${a#"$root"/a/varkelo/}" && status=1
        fi
    done
done
exit "$status"
