#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, on a private X server, as on a Russian
# Windows desktop: a Wine prefix of the build tree's own (WINEPREFIX), made on first use with
# Wine's own fonts and a virtual desktop, at VARKELO_DPI dots per inch (96 unless set). Wine's
# diagnostics are silenced. Usage: wine-run.sh PROGRAM [ARGS...]
set -euo pipefail
: "${WINEPREFIX:?set WINEPREFIX to the prefix to use}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8
if [ ! -f "$WINEPREFIX/.ready" ]; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot --init >/dev/null 2>&1
    # Debian's Wine finds its own fonts (Tahoma, Marlett, MS Sans Serif) only in the prefix.
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "${VARKELO_DPI:-96}" \
        /f >/dev/null 2>&1
    wineserver --wait
    touch "$WINEPREFIX/.ready"
fi
exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
    bash -c 'status=0; wine "$@" || status=$?; wineserver --wait; exit $status' wine-run "$@"
