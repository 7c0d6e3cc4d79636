#!/usr/bin/env bash
# Installs what is missing on Debian 12 or Ubuntu 24.04: with "run", only what building and
# running the Linux program needs (the compiler, CMake, Qt); else also what the tests, the
# Windows build and the benchmarks need. Does nothing when everything is already there.
# Usage: scripts/install-deps.sh [run]
set -euo pipefail

packages=(g++ cmake make qt6-base-dev qt6-translations-l10n)
if [ "${1:-}" != run ]; then
    packages+=(
        pkg-config git libgtest-dev googletest libbenchmark-dev
        xvfb xauth x11-utils fonts-dejavu-core fonts-liberation
        appstream dpkg-dev clang libclang-rt-dev libx11-dev clang-format clang-tidy
        g++-mingw-w64-x86-64-posix wine wine64 fonts-wine nsis locales
        openbox xdotool sway qt6-wayland
        dbus-daemon at-spi2-core python3-pyatspi lintian
    )
fi
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
# The Windows program is tested as on a Russian desktop.
make_locale() {
    [ "${1:-}" = run ] || locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$' ||
        $sudo localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
}

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    # Where the release has no libclang-rt-dev, the runtime of its default clang stands in.
    for i in "${!missing[@]}"; do
        if [ "${missing[$i]}" = libclang-rt-dev ] && ! apt-cache show libclang-rt-dev >/dev/null 2>&1; then
            major=$(apt-cache depends clang | sed -n 's/.*Depends: clang-\([0-9]*\).*/\1/p' | head -1)
            missing[$i]="libclang-rt-${major}-dev"
        fi
    done
    # Qt's platform plugins are a package of their own on some releases.
    if apt-cache show qt6-qpa-plugins >/dev/null 2>&1; then
        missing+=(qt6-qpa-plugins)
    fi
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
make_locale "${1:-}"
