#!/usr/bin/env bash
# clang-tidy over the program and its tests, with the checks of .clang-tidy: the Linux code
# as the `ci` build compiles it, the Windows code as the `windows` build does, the web page's as
# the `web` build does. Needs the three configured (scripts/test.sh ci does it).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="$(nproc)"
git ls-files -- 'app/*.cpp' 'dialogs/*.cpp' 'model/*.cpp' 'tests/*.cpp' ':!*/win32/*' \
    ':!app/web/*' ':!tests/ui/web/RecordExport.cpp' |
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
# clang reads Emscripten's system root, where its wrapper would add it; the headers' constant
# templates and globals, which it takes for dynamically initialised there, are not.
sysroot=/usr/share/emscripten/cache/sysroot
git ls-files -- 'app/web/*.cpp' 'tests/ui/web/RecordExport.cpp' |
    xargs -P "$jobs" -n 2 clang-tidy -p build-web --quiet --extra-arg=--target=wasm32-unknown-emscripten \
        --extra-arg=--sysroot=$sysroot --extra-arg=-isystem$sysroot/include/c++/v1 \
        --extra-arg=-D__EMSCRIPTEN__ --checks=-bugprone-dynamic-static-initializers
