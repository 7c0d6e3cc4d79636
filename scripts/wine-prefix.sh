#!/usr/bin/env bash
# Makes the Wine prefix WINEPREFIX, unless it is made already, as a Russian Windows desktop:
# Wine's own fonts, a virtual desktop of 1024 x 768, VARKELO_DPI dots per inch (96 unless
# set). Source it: it also exports the environment Wine runs in, diagnostics silenced, and
# `wine`, which starts a 64-bit program through the 64-bit loader.
: "${WINEPREFIX:?set WINEPREFIX to the prefix to use}"
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d" LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8

# Where 32-bit programs run emulated, Wine's 32-bit loader costs the better part of a minute
# at each start; plain `wine` goes through it for every program once 32-bit Wine is there.
pe_machine() {
    local header
    header=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ') || return 0
    od -An -tx2 -j$((header + 4)) -N2 "$1" 2>/dev/null | tr -d ' '
}
wine() {
    if [ -x /usr/lib/wine/wine64 ] && [ "$(pe_machine "$1")" != 014c ]; then
        /usr/lib/wine/wine64 "$@"
    else
        command wine "$@"
    fi
}
export -f pe_machine wine

# Booting a prefix sets up 32-bit Windows as well, which takes minutes where that runs
# emulated: it is done once a machine, into a template in the user's cache for each Wine,
# 64-bit alone or with 32-bit, that every prefix is copied from (VARKELO_WINE_TEMPLATE: another).
wine_build="$( (/usr/lib/wine/wine64 --version || wine --version) 2>/dev/null |
    sed 's/[^A-Za-z0-9.~+]\+/-/g; s/-$//')"
[ -x /usr/lib/wine/wine ] && wine_build+="-32"
template="${VARKELO_WINE_TEMPLATE:-${XDG_CACHE_HOME:-$HOME/.cache}/varkelo/${wine_build:-wine}/template}"
if [ ! -f "$WINEPREFIX/.copied" ]; then
    mkdir -p "$(dirname "$template")" "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -f "$template/.ready" ]; then
            rm -rf "$template"
            WINEPREFIX="$template" wine wineboot --init >/dev/null 2>&1
            # Debian's Wine finds its own fonts (Tahoma, Marlett, MS Sans Serif) only in the prefix.
            cp /usr/share/wine/fonts/* "$template/drive_c/windows/Fonts/"
            WINEPREFIX="$template" wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
            WINEPREFIX="$template" wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
            WINEPREFIX="$template" wineserver --wait
            touch "$template/.ready"
        fi
    ) 9>"$(dirname "$template")/.lock"
    rm -rf "$WINEPREFIX"
    cp -a "$template" "$WINEPREFIX"
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "${VARKELO_DPI:-96}" \
        /f >/dev/null 2>&1
    wineserver --wait
    touch "$WINEPREFIX/.copied"
fi
