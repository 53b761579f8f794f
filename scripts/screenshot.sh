#!/bin/sh
# Refreshes docs/screenshot_start.png: builds the window if needed and has it save a picture of
# itself at the start of a game (vell --screenshot) under a virtual X display of 1920 x 1080, in a
# fresh working folder seeded with the shipped weights.
#
# usage: scripts/screenshot.sh [BUILD]     (default build)
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
case $build in /*) ;; *) build=$PWD/$build ;; esac
[ -x "$build/shell/vell" ] || {
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
    cmake --build "$build" --target vell
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$root/scripts/seed-workdir.sh" "$work"
cd "$work"
xvfb-run -a -s "-screen 0 1920x1080x24" "$build/shell/vell" --screenshot "$work/screenshot.png"
mv "$work/screenshot.png" "$root/docs/screenshot_start.png"
echo "wrote $root/docs/screenshot_start.png"
