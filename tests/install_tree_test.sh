#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that everything lands where a desktop
# looks for it. Usage: install_tree_test.sh BUILD_DIR PREFIX
set -euo pipefail
rm -rf "$2"
cmake --install "$1" --prefix "$2" >/dev/null
cd "$2"
id=io.github.varkelo.Varkelo
for path in bin/varkelo share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
    share/icons/hicolor/{32x32,128x128}/apps/$id.png share/doc/varkelo/copyright \
    share/doc/varkelo/changelog.Debian.gz share/man{,/ru}/man1/varkelo.1.gz; do
    [ -e "$path" ] || { echo "missing from the install tree: $path"; exit 1; }
done
grep -qx Exec=varkelo "share/applications/$id.desktop" && grep -qx "Icon=$id" "share/applications/$id.desktop" ||
    { echo "the desktop entry does not start the installed program with its icon"; exit 1; }
echo "install tree complete"
