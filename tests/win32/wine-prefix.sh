#!/usr/bin/env bash
# Makes the Wine prefix WINEPREFIX, unless it is made already, as a Russian Windows desktop:
# Wine's own fonts, a virtual desktop of 1024 x 768, VARKELO_DPI dots per inch (96 unless
# set). Source it: it also exports the environment Wine runs in, diagnostics silenced.
: "${WINEPREFIX:?set WINEPREFIX to the prefix to use}"
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8
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
