#!/usr/bin/env bash
# Installs what is missing on Debian 12 or Ubuntu 24.04: with "run", only what building and
# running the Linux program needs (the compiler, CMake, Qt); else also what the tests, the
# Windows build, the web page (Emscripten, and Chromium to test it in) and the benchmarks need. Does nothing when everything is already there.
# Usage: scripts/install-deps.sh [run]
set -euo pipefail

packages=(g++ cmake make qt6-base-dev qt6-translations-l10n)
if [ "${1:-}" != run ]; then
    packages+=(
        pkg-config git libgtest-dev googletest libbenchmark-dev
        xvfb xauth x11-utils fonts-dejavu-core fonts-liberation
        appstream dpkg-dev clang libclang-rt-dev libx11-dev libxtst-dev clang-format clang-tidy
        g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64 wine32:i386
        wine64-preloader wine32-preloader:i386 fonts-wine nsis locales
        openbox xdotool sway qt6-wayland
        dbus-daemon at-spi2-core python3-pyatspi lintian
        emscripten chromium
    )
fi
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
# The Windows program is tested as on a Russian desktop.
make_locale() {
    [ "${1:-}" = run ] || locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$' ||
        $sudo localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
}

# 32-bit Wine comes from the i386 architecture.
if [ "${1:-}" != run ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi

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
    # Debian packages Chromium; Ubuntu has it only as a snap, which a container may not run:
    # there the page's tests in the browser are left out (the Linux build says so).
    for i in "${!missing[@]}"; do
        if [ "${missing[$i]}" = chromium ] && ! apt-cache show chromium 2>/dev/null |
            grep -q '^Filename:.*chromium_'; then
            unset 'missing[i]'
        fi
    done
    # Qt's platform plugins are a package of their own on some releases.
    if apt-cache show qt6-qpa-plugins >/dev/null 2>&1; then
        missing+=(qt6-qpa-plugins)
    fi
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
make_locale "${1:-}"

# Where the kernel runs no 32-bit programs (some virtual machines), 32-bit Wine runs under
# QEMU's user-mode emulation, registered for 32-bit x86 programs. Wine's preloaders, which
# Debian only recommends, reserve its address space in a few calls: without them Wine probes
# it a piece at a time, which under emulation costs a minute at every start of a program.
run_32bit() {
    [ "${1:-}" = run ] || /lib/ld-linux.so.2 --version >/dev/null 2>&1 && return
    dpkg-query -W -f='${Status}' qemu-user-static 2>/dev/null | grep -q 'install ok installed' ||
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends qemu-user-static
    [ -e /proc/sys/fs/binfmt_misc/register ] ||
        $sudo mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
    [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ] || echo ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' |
        $sudo tee /proc/sys/fs/binfmt_misc/register >/dev/null
}
run_32bit "${1:-}"
