#!/bin/sh
# Builds the Debian package of Vell (vell, vellcli, the shipped weights, the desktop entry, the
# icons and the metainfo file) with cpack -G DEB, checks the desktop entry and the metainfo file
# where the validators are installed, and lists the package's fields and files.
#
# usage: scripts/package.sh [BUILD]     (default build-package); the .deb is left in BUILD.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-package}
"$root/scripts/install-deps.sh"
launcher=""
command -v ccache >/dev/null && launcher=-DCMAKE_CXX_COMPILER_LAUNCHER=ccache
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release $launcher \
      -DBUILD_TESTING=OFF -DVELL_BUILD_BENCH=OFF >/dev/null
cmake --build "$build"
rm -f "$build"/vell_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/vell_*.deb)
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$root/resources/desktop/net.tolvasoftware.vell.desktop"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net --pedantic \
        "$root/resources/desktop/net.tolvasoftware.vell.metainfo.xml" || true
fi
echo "package: $deb"
dpkg-deb --field "$deb" Package Version Architecture Depends Recommends Section
dpkg-deb --contents "$deb" | awk '{print $6}'
