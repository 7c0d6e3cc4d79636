#!/usr/bin/env bash
# Installs what the build, the tests and the benchmarks need on Debian 12 or Ubuntu 24.04.
# Does nothing when everything is already there.
set -euo pipefail

packages=(
    g++ cmake make pkg-config
    libgtest-dev libbenchmark-dev
    qt6-base-dev qt6-translations-l10n
    xvfb xauth x11-utils fonts-dejavu-core fonts-liberation
    appstream dpkg-dev clang libclang-rt-dev
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
