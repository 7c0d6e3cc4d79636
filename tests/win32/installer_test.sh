#!/usr/bin/env bash
# Installs the program silently under Wine, checks what the installer put in place, then
# uninstalls it silently and checks that nothing of it is left. Usage: installer_test.sh SETUP
set -euo pipefail
rm -rf "$WINEPREFIX" # a clean machine every time
run() { bash "$(dirname "$0")/wine-run.sh" "$@"; }
program="$WINEPREFIX/drive_c/Program Files/Varkelo"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Варкело.lnk"
key='Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\Varkelo'
fail() { echo "FAILED: $*" >&2; exit 1; }

run "$1" /S
[ -f "$program/LICENSE.txt" ] && [ -f "$program/uninstall.exe" ] || fail "files missing"
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
grep -q "$key" "$WINEPREFIX/system.reg" || fail "no entry among the installed programs"
cmp -s "$program/varkelo.exe" "$(dirname "$1")/stage/varkelo.exe" || fail "not the built program"

run "$program/uninstall.exe" /S
[ ! -e "$program" ] || fail "the uninstaller left $(ls "$program")"
[ ! -e "$shortcut" ] || fail "the uninstaller left the shortcut"
! grep -q "$key" "$WINEPREFIX/system.reg" || fail "the uninstaller left its registry entry"
echo "installed and uninstalled cleanly"
