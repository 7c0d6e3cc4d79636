#!/usr/bin/env bash
# Fails unless the Windows programs import from the system's own DLLs only, and nothing that
# Windows 7 SP1 lacks: Win32 functions that the headers declare for Windows 7 (_WIN32_WINNT
# 0x0601), and C runtime functions that msvcrt.dll has there (packaging/windows/msvcrt-7.txt).
# Usage: scripts/check-windows-imports.sh EXE...
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
for exe in "$@"; do
    x86_64-w64-mingw32-objdump -p "$exe" |
        awk '/DLL Name:/ {dll = tolower($3)} /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ {print dll, $3}'
done | sort -u >"$dir/imports"
status=0
if awk '{print $1}' "$dir/imports" | sort -u |
    grep -v -x -E '(kernel32|user32|gdi32|comctl32|msvcrt)\.dll'; then
    echo "^ not a DLL of the system's" && status=1
fi
if awk '$1 == "msvcrt.dll" {print $2}' "$dir/imports" | grep -v -x -F -f packaging/windows/msvcrt-7.txt; then
    echo "^ not in msvcrt.dll of Windows 7" && status=1
fi
{
    echo '#include <windows.h>'
    echo '#include <commctrl.h>'
    awk '$1 != "msvcrt.dll" {print "auto* " $2 "_ = &" $2 ";"}' "$dir/imports"
} >"$dir/imports.cpp"
if ! x86_64-w64-mingw32-g++ -fsyntax-only -DUNICODE -DWINVER=0x0601 -D_WIN32_WINNT=0x0601 \
    "$dir/imports.cpp" 2>"$dir/errors"; then
    grep -o "‘[A-Za-z0-9_]*’ was not declared" "$dir/errors" || cat "$dir/errors"
    echo "^ not declared for Windows 7" && status=1
fi
[ "$status" = 0 ] && echo "$(wc -l <"$dir/imports") imports, all of Windows 7 SP1's system DLLs"
exit "$status"
