#!/usr/bin/env bash
# Installs what the build, the tests and the benchmarks need on Debian 12 or Ubuntu 24.04.
# Does nothing when everything is already there.
set -euo pipefail

packages=(
    g++ cmake make pkg-config git
    libgtest-dev googletest libbenchmark-dev
    qt6-base-dev qt6-translations-l10n
    xvfb xauth x11-utils fonts-dejavu-core fonts-liberation
    appstream dpkg-dev clang libclang-rt-dev libx11-dev clang-format clang-tidy
    g++-mingw-w64-x86-64-posix wine wine64 fonts-wine nsis locales
    openbox libxtst-dev xdotool sway wtype xwayland qt6-wayland
    dbus-daemon at-spi2-core python3-pyatspi lintian
)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
# The Windows program is tested as on a Russian desktop.
have_locale() { locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; }
make_locale() { have_locale || $sudo localedef -i ru_RU -f UTF-8 ru_RU.UTF-8; }

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    make_locale
    exit 0
fi

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
make_locale
