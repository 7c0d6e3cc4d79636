#!/usr/bin/env bash
# Builds the published files once more from the last commit, in a folder of another name and
# depth, and fails unless each comes out byte for byte as the checkout's own build made it:
# the Linux package, both Windows programs, their portable archives and the installer, the web
# page and its zip. What the checkout has not built yet (after scripts/test.sh, the Linux
# package alone) is built first. Run it on a checkout without changes.
# Usage: scripts/check-reproducible.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
files=(build-release/deb/varkelo_*.deb build-windows-x86/varkelo.exe build-windows/varkelo.exe
    build-windows-x86/packages/*.zip build-windows/packages/*.zip build-windows/packages/*.exe
    build-web/varkelo.html build-web/packages/*.zip)
# Builds the published files in the current folder, configuring only what is not yet.
build() {
    [ -f build-release/CMakeCache.txt ] || cmake --preset release -DVARKELO_BENCH=OFF
    cmake --build --preset release -j "$(nproc)" --target varkelo
    cpack -G DEB -B build-release/deb --config build-release/CPackConfig.cmake
    for packaged in windows-x86 windows web; do
        [ -f "build-$packaged/CMakeCache.txt" ] ||
            cmake --preset "$packaged" -DVARKELO_TESTS=OFF -DVARKELO_BENCH=OFF
        cmake --build --preset "$packaged" -j "$(nproc)" --target packages
    done
}
elsewhere="$root/other/place/src"
git clone -q . "$elsewhere"
build >"$root/here.log" 2>&1 || { tail -20 "$root/here.log"; exit 1; }
(cd "$elsewhere" && build) >"$root/elsewhere.log" 2>&1 || { tail -20 "$root/elsewhere.log"; exit 1; }
status=0
for file in "${files[@]}"; do
    for here in $file; do
        if cmp -s "$here" "$elsewhere/$here"; then
            echo "same: $here ($(stat -c %s "$here") bytes)"
        else
            echo "DIFFERENT: $here" && status=1
        fi
    done
done
exit "$status"
