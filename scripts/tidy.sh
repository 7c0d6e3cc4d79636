#!/usr/bin/env bash
# clang-tidy over the program and its tests, with the checks of .clang-tidy: the Linux code
# as the `ci` build compiles it, the Windows code as the `windows` build does. Needs both
# configured (scripts/test.sh ci does it).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="$(nproc)"
git ls-files -- 'app/*.cpp' 'dialogs/*.cpp' 'model/*.cpp' 'tests/*.cpp' ':!*/win32/*' |
    xargs -P "$jobs" -n 4 clang-tidy -p build-ci --quiet
# clang reads mingw's C++ library and Windows headers, with its own compiler headers.
mingw=()
while read -r dir; do
    mingw+=("--extra-arg=-isystem$dir")
done < <(echo | x86_64-w64-mingw32-g++-posix -std=c++20 -E -x c++ - -v 2>&1 |
    sed -n '/#include <...> search starts here/,/End of search list/p' | sed -n 's/^ //p' |
    grep -v -e '/include$' -e 'include-fixed')
git ls-files -- '*/win32/*.cpp' |
    xargs -P "$jobs" -n 2 clang-tidy -p build-windows --quiet --extra-arg=--target=x86_64-w64-mingw32 \
        --extra-arg=-nostdinc++ "${mingw[@]}" --extra-arg=-isystem/usr/share/mingw-w64/include
