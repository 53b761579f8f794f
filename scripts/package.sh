#!/bin/sh
# Builds the Debian package of Vell (vell, vellcli, the launcher vell-start, the shipped weights,
# the desktop entry, the icons and the metainfo file) with cpack -G DEB, lists its fields and
# files, validates the desktop entry and the metainfo file where the validators are installed,
# and tries the unpacked package: vellcli runs, and under a virtual display the menu entry's
# command starts the window in a fresh data folder that it seeds with the weights.
#
# usage: scripts/package.sh [BUILD]
#   BUILD a build folder (default build-package, configured for Release without tests). An
#   already configured folder is used as it is; the .deb is left in it.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-package}
case $build in /*) ;; *) build=$PWD/$build ;; esac
if [ ! -f "$build/CMakeCache.txt" ]; then
    "$root/scripts/install-deps.sh"
    launcher=""
    command -v ccache >/dev/null && launcher=-DCMAKE_CXX_COMPILER_LAUNCHER=ccache
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release $launcher \
          -DBUILD_TESTING=OFF -DVELL_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$build"
rm -f "$build"/vell_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/vell_*.deb)
echo "package: $deb"
dpkg-deb --field "$deb" Package Version Architecture Depends Recommends Section
dpkg-deb --contents "$deb" | awk '{print $6}'

desktop=$root/resources/desktop/net.tolvasoftware.vell.desktop
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$desktop"; fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$root/resources/desktop/net.tolvasoftware.vell.metainfo.xml"
fi

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
perft=$("$unpacked/usr/bin/vellcli" perft 4)
[ "$perft" = 12736 ] || { echo "unpacked vellcli perft 4 gave '$perft'" >&2; exit 1; }
if command -v xvfb-run >/dev/null; then
    command=$(sed -n 's/^Exec=//p' "$desktop")
    VELL_HOME=$unpacked/home xvfb-run -a "$unpacked/usr/bin/$command" \
        --screenshot "$unpacked/window.png" 2>/dev/null
    cmp -s "$unpacked/home/weight4.dat" "$root/resources/weight4.dat" ||
        { echo "the launcher did not seed the data folder" >&2; exit 1; }
    [ -s "$unpacked/window.png" ] || { echo "the window did not start" >&2; exit 1; }
    echo "unpacked: vellcli runs; '$command' seeded the data folder and showed the window"
fi
