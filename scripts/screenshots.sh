#!/usr/bin/env bash
# Makes the README's screenshots from the real programs under Xvfb:
# docs/screenshots/{main,fish,bait,tackle,result}.png from a built ./build/varkelo,
# docs/screenshots/windows.png from ./build-windows/varkelo.exe under Wine, and
# docs/screenshots/web{,-phone}.png from ./build-web/varkelo.html in headless Chromium, where
# built.
set -euo pipefail
cd "$(dirname "$0")/.."
for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || { echo "needs $tool (xvfb, xdotool, imagemagick)" >&2; exit 1; }
done
out=docs/screenshots
mkdir -p "$out"

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY="$display"
app=
trap 'kill $app $xvfb 2>/dev/null || true' EXIT
sleep 1
./build/varkelo &
app=$!

window() { # the window with this exact title, once it is mapped
    local id
    for _ in $(seq 50); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1) && [ -n "$id" ] &&
            { echo "$id"; return; }
        sleep 0.1
    done
    echo "no window '$1'" >&2; return 1
}
shot() { sleep 0.4; import -window "$1" "$out/$2.png"; }
press() { xdotool windowfocus --sync "$1"; xdotool key "$2"; }

main=$(window 'Варкело')
shot "$main" main

press "$main" F1
dialog=$(window 'Выловленная рыба')
for n in 3 12 0 5 1; do xdotool key --delay 30 Tab type "$n"; done
shot "$dialog" fish
press "$dialog" Return

press "$main" F2
dialog=$(window 'Потраченная приманка')
xdotool type 2
shot "$dialog" bait
press "$dialog" Return

press "$main" F3
dialog=$(window 'Потраченные снасти')
shot "$dialog" tackle
press "$dialog" Escape

press "$main" F4
sleep 0.5
box=$(xdotool search --onlyvisible --name '^Варкело$' | grep -v "^$main\$" | head -1)
shot "$box" result
press "$box" Return
press "$main" Escape
wait "$app"

if [ -x build-windows/varkelo.exe ]; then
    # Under Wine's own virtual desktop, as the program looks on Windows: bait and fish
    # stored, the fish window shown again, and the result over it.
    export WINEPREFIX="$PWD/build-windows/wine/screens"
    source scripts/wine-prefix.sh
    wine build-windows/varkelo.exe &
    app=$!
    sleep 4
    keys() { for k in "$@"; do xdotool key "$k"; sleep 0.3; done; }
    keys F2 2 Return F1 3 Tab 1 2 Tab 5 Return F1 F4
    sleep 0.7
    import -window root -crop 360x500+332+134 +repage "$out/windows.png"
    keys Return Escape Escape
    wineserver --wait
fi
if [ -f build-web/varkelo.html ]; then
    python3 scripts/web-screenshots.py build-web/varkelo.html "$out"
fi
echo "screenshots in $out"
